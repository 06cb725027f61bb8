#include "engine/listing/nameorder.h"

#include "platform/rawname.h"

#include <QLocale>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <string_view>
#include <system_error>
#include <thread>
#include <unicode/ucol.h>
#include <vector>

namespace tolvane {
namespace {

// Below this many names a second thread costs more than it saves.
constexpr qsizetype ParallelThreshold = 4096;

// ICU directly rather than through QCollator, with the settings QCollator gives it (numeric,
// case-insensitive): QCollator hands out each key as two heap blocks, and a million files spent
// more time allocating and freeing keys than making them. Here one slice's keys share a buffer.
class Collator
{
public:
    Collator()
    {
        // The C locale has no collation rules, so it borrows the neutral English rules.
        QLocale locale;
        if (locale.language() == QLocale::C)
            locale = QLocale(QLocale::English, QLocale::UnitedStates);
        const QByteArray name = locale.bcp47Name().replace(u'-', u'_').toLatin1();
        UErrorCode status = U_ZERO_ERROR;
        m_collator = ucol_open(name.constData(), &status);
        ucol_setAttribute(m_collator, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
        ucol_setAttribute(m_collator, UCOL_STRENGTH, UCOL_SECONDARY, &status);
        ucol_setAttribute(m_collator, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
        ucol_setAttribute(m_collator, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
        if (U_FAILURE(status))
            qWarning("no collation for %s: %s", name.constData(), u_errorName(status));
    }
    ~Collator() { ucol_close(m_collator); }
    Collator(const Collator &) = delete;
    Collator &operator=(const Collator &) = delete;

    // Appends the key of `text` to `keys`, ending in its zero byte (keys hold no other).
    void appendKey(const QString &text, std::vector<uint8_t> &keys) const
    {
        const auto *chars = reinterpret_cast<const UChar *>(text.utf16());
        const int32_t length = int32_t(text.size());
        const size_t at = keys.size();
        size_t room = size_t(length) * 4 + 16;
        keys.resize(at + room);
        int32_t needed =
            ucol_getSortKey(m_collator, chars, length, keys.data() + at, int32_t(room));
        if (size_t(needed) > room) {
            room = size_t(needed);
            keys.resize(at + room);
            needed = ucol_getSortKey(m_collator, chars, length, keys.data() + at, int32_t(room));
        }
        if (needed <= 0) {
            // No collator: an empty key, so the raw bytes decide.
            keys.resize(at + 1);
            keys[at] = 0;
            return;
        }
        keys.resize(at + size_t(needed));
    }

private:
    UCollator *m_collator = nullptr;
};

struct Item
{
    const char *key;
    qsizetype index;
};

// Equal keys (names differing only in letter case) fall back to the raw bytes.
struct Less
{
    const std::vector<QByteArrayView> &names;
    bool operator()(const Item &a, const Item &b) const
    {
        const int c = std::strcmp(a.key, b.key);
        if (c != 0)
            return c < 0;
        // Compared as unsigned bytes, as memcmp does.
        const QByteArrayView x = names[a.index];
        const QByteArrayView y = names[b.index];
        return std::string_view(x.data(), x.size()) < std::string_view(y.data(), y.size());
    }
};

// Keys and sorts one slice of the names; slices are merged afterwards.
// The text of a name lives only as long as its key is being made. The keys stay in `keys` until
// the slices are merged.
void sortSlice(const std::vector<QByteArrayView> &names, std::vector<Item> &items,
               std::vector<uint8_t> &keys, qsizetype from, qsizetype to)
{
    // A collator of its own per thread: ICU's collator object is not shared safely.
    const Collator collator;
    std::vector<size_t> starts;
    starts.reserve(to - from);
    for (qsizetype i = from; i < to; ++i) {
        starts.push_back(keys.size());
        const QByteArray raw = QByteArray::fromRawData(names[i].data(), names[i].size());
        collator.appendKey(nameText(raw), keys);
    }
    // Pointers only now that the buffer has stopped growing.
    items.reserve(to - from);
    for (qsizetype i = from; i < to; ++i)
        items.push_back({reinterpret_cast<const char *>(keys.data() + starts[i - from]), i});
    std::sort(items.begin(), items.end(), Less{names});
}

std::vector<qsizetype> sortedIndexes(const std::vector<QByteArrayView> &names)
{
    const qsizetype n = qsizetype(names.size());
    const unsigned cores = std::max(1U, std::min(std::thread::hardware_concurrency(), 8U));
    const qsizetype parts = n < ParallelThreshold ? 1 : qsizetype(cores);
    std::vector<std::vector<Item>> slices(parts);
    std::vector<std::vector<uint8_t>> keys(parts);
    std::vector<std::thread> workers;
    for (qsizetype p = 0; p < parts; ++p) {
        const qsizetype from = n * p / parts;
        const qsizetype to = n * (p + 1) / parts;
        if (p + 1 < parts) {
            try {
                workers.emplace_back(sortSlice, std::cref(names), std::ref(slices[p]),
                                     std::ref(keys[p]), from, to);
                continue;
            } catch (const std::system_error &) {
                // No thread to be had: this one sorts the slice itself.
            }
        }
        sortSlice(names, slices[p], keys[p], from, to);
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
    std::vector<qsizetype> order;
    order.reserve(n);
    for (const Item &item : slices.front())
        order.push_back(item.index);
    return order;
}

} // namespace

std::vector<qsizetype> nameOrder(const std::vector<QByteArrayView> &names)
{
    const qsizetype n = qsizetype(names.size());
    if (n < 2)
        return std::vector<qsizetype>(n, 0);
    return sortedIndexes(names);
}

} // namespace tolvane
