#include "engine/nameorder.h"

#include "platform/rawname.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <iterator>
#include <malloc.h>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

namespace tolvane {
namespace {

// Below this many names a second thread costs more than it saves.
constexpr qsizetype ParallelThreshold = 4096;

QCollator makeCollator()
{
    // The C locale has no collation rules (Qt would fall back to a plain code-unit compare
    // without numeric mode), so it borrows the neutral English rules.
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

struct Item
{
    QCollatorSortKey key;
    qsizetype index;
};

// Equal keys (names differing only in letter case) fall back to the raw bytes.
struct Less
{
    const std::vector<QByteArrayView> &names;
    bool operator()(const Item &a, const Item &b) const
    {
        const int c = a.key.compare(b.key);
        if (c != 0)
            return c < 0;
        // Compared as unsigned bytes, as memcmp does.
        const QByteArrayView x = names[a.index];
        const QByteArrayView y = names[b.index];
        return std::string_view(x.data(), x.size()) < std::string_view(y.data(), y.size());
    }
};

// Keys and sorts one slice of the names; slices are merged afterwards.
// The display form lives only as long as its key is being made.
void sortSlice(const std::vector<QByteArrayView> &names, std::vector<Item> &items, qsizetype from,
               qsizetype to)
{
    // A collator of its own per thread: the backend's collator object is not shared safely.
    const QCollator collator = makeCollator();
    items.reserve(to - from);
    for (qsizetype i = from; i < to; ++i) {
        const QByteArray raw = QByteArray::fromRawData(names[i].data(), names[i].size());
        items.push_back({collator.sortKey(displayName(raw)), i});
    }
    std::sort(items.begin(), items.end(), Less{names});
}

std::vector<Item> sortedItems(const std::vector<QByteArrayView> &names)
{
    const qsizetype n = qsizetype(names.size());
    const unsigned cores = std::max(1U, std::min(std::thread::hardware_concurrency(), 8U));
    const qsizetype parts = n < ParallelThreshold ? 1 : qsizetype(cores);
    std::vector<std::vector<Item>> slices(parts);
    std::vector<std::thread> workers;
    for (qsizetype p = 0; p < parts; ++p) {
        const qsizetype from = n * p / parts;
        const qsizetype to = n * (p + 1) / parts;
        if (p + 1 < parts) {
            try {
                workers.emplace_back(sortSlice, std::cref(names), std::ref(slices[p]), from, to);
                continue;
            } catch (const std::system_error &) {
                // No thread to be had: this one sorts the slice itself.
            }
        }
        sortSlice(names, slices[p], from, to);
    }
    for (std::thread &worker : workers)
        worker.join();

    while (slices.size() > 1) {
        std::vector<std::vector<Item>> merged;
        for (size_t p = 0; p + 1 < slices.size(); p += 2) {
            std::vector<Item> both;
            both.reserve(slices[p].size() + slices[p + 1].size());
            std::merge(std::make_move_iterator(slices[p].begin()),
                       std::make_move_iterator(slices[p].end()),
                       std::make_move_iterator(slices[p + 1].begin()),
                       std::make_move_iterator(slices[p + 1].end()), std::back_inserter(both),
                       Less{names});
            merged.push_back(std::move(both));
        }
        if (slices.size() % 2 != 0)
            merged.push_back(std::move(slices.back()));
        slices = std::move(merged);
    }
    return std::move(slices.front());
}

} // namespace

std::vector<qsizetype> nameOrder(const std::vector<QByteArrayView> &names)
{
    const qsizetype n = qsizetype(names.size());
    std::vector<qsizetype> order;
    order.reserve(n);
    if (n < 2) {
        if (n == 1)
            order.push_back(0);
        return order;
    }
    {
        const std::vector<Item> items = sortedItems(names);
        for (const Item &item : items)
            order.push_back(item.index);
    }
    // The keys of a big folder leave megabytes of small freed blocks, partly in the worker
    // threads' heaps; hand those pages back rather than keep them for the list's lifetime.
    if (n >= ParallelThreshold)
        ::malloc_trim(0);
    return order;
}

} // namespace tolvane
