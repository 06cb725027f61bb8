#include "workbench/nameorder.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <malloc.h>
#include <numeric>
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

void computeKeys(const QStringList &display, std::vector<QCollatorSortKey> &keys, qsizetype from,
                 qsizetype to)
{
    // A collator of its own per thread: the backend's collator object is not shared safely.
    const QCollator collator = makeCollator();
    for (qsizetype i = from; i < to; ++i)
        keys.emplace_back(collator.sortKey(display.at(i)));
}

} // namespace

void sortNames(QList<QByteArray> &raw, QStringList &display)
{
    const qsizetype n = display.size();
    if (n < 2)
        return;

    const unsigned cores = std::max(1U, std::min(std::thread::hardware_concurrency(), 8U));
    const qsizetype parts = n < ParallelThreshold ? 1 : qsizetype(cores);
    std::vector<std::vector<QCollatorSortKey>> chunks(parts);
    std::vector<std::thread> workers;
    for (qsizetype p = 0; p < parts; ++p) {
        const qsizetype from = n * p / parts;
        const qsizetype to = n * (p + 1) / parts;
        chunks[p].reserve(to - from);
        if (p + 1 < parts)
            workers.emplace_back(computeKeys, std::cref(display), std::ref(chunks[p]), from, to);
        else
            computeKeys(display, chunks[p], from, to);
    }
    for (std::thread &worker : workers)
        worker.join();

    std::vector<const QCollatorSortKey *> keyOf(n);
    for (qsizetype p = 0, i = 0; p < parts; ++p) {
        for (const QCollatorSortKey &key : chunks[p])
            keyOf[i++] = &key;
    }

    std::vector<qsizetype> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int c = keyOf[a]->compare(*keyOf[b]);
        return c != 0 ? c < 0 : raw.at(a) < raw.at(b);
    });

    QList<QByteArray> sortedRaw;
    QStringList sortedDisplay;
    sortedRaw.reserve(n);
    sortedDisplay.reserve(n);
    for (const qsizetype i : order) {
        sortedRaw.append(std::move(raw[i]));
        sortedDisplay.append(std::move(display[i]));
    }
    raw = std::move(sortedRaw);
    display = std::move(sortedDisplay);
    chunks.clear();
    // The keys of a big folder leave megabytes of small freed blocks, partly in the worker
    // threads' heaps; hand those pages back rather than keep them for the list's lifetime.
    if (parts > 1)
        ::malloc_trim(0);
}

} // namespace tolvane
