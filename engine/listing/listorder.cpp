#include "engine/listing/listorder.h"

#include "engine/listing/nameorder.h"
#include "engine/listing/takendates.h"
#include "platform/filetime.h"
#include "platform/rawname.h"

#include <QString>
#include <algorithm>
#include <array>
#include <fcntl.h>
#include <sys/stat.h>
#include <utility>

namespace tolvane {
namespace {

// The extension as the type sort compares it: after the last dot, lower case; none when the
// dot starts the name.
QString extensionOf(QByteArrayView name)
{
    const qsizetype dot = name.lastIndexOf('.');
    if (dot <= 0)
        return {};
    return nameText(name.sliced(dot + 1).toByteArray()).toCaseFolded();
}

// What the order compares before the name: a number, or an extension.
struct Key
{
    long long number = 0;
    QString text;
};

Key keyOf(int folderFd, QByteArrayView name, ListOrder::Key order)
{
    if (order == ListOrder::Key::Type)
        return {0, extensionOf(name)};
    // Links are followed, as the listing does when it decides what is a file.
    const QByteArray path = name.toByteArray();
    struct stat st;
    if (::fstatat(folderFd, path.constData(), &st, 0) != 0)
        return {};
    if (order == ListOrder::Key::Size)
        return {static_cast<long long>(st.st_size), {}};
    // Nanoseconds: files written within one second still come in the order they were written.
    return {modifiedNanoseconds(st), {}};
}

} // namespace

std::optional<ListOrder::Key> ListOrder::keyNamed(QByteArrayView word)
{
    static constexpr std::array<std::pair<const char *, Key>, 5> words{{
        {"name", Key::Name},
        {"taken", Key::Taken},
        {"modified", Key::Modified},
        {"size", Key::Size},
        {"type", Key::Type},
    }};
    for (const auto &[text, key] : words)
        if (word == text)
            return key;
    return std::nullopt;
}

OrderedNames listOrder(int folderFd, const std::vector<QByteArrayView> &names,
                       const ListOrder &order, TakenDates *dates)
{
    OrderedNames ordered{nameOrder(names), {}};
    std::vector<qsizetype> &byName = ordered.indexes;
    if (order.key == ListOrder::Key::Name) {
        if (order.reversed)
            std::reverse(byName.begin(), byName.end());
        return ordered;
    }
    std::vector<Key> keys;
    keys.reserve(names.size());
    if (order.key != ListOrder::Key::Taken) {
        for (const QByteArrayView name : names)
            keys.push_back(keyOf(folderFd, name, order.key));
    } else if (!dates) {
        for (const QByteArrayView name : names)
            keys.push_back(keyOf(folderFd, name, ListOrder::Key::Modified));
        ordered.undated.assign(names.size(), true);
    } else {
        dates->begin(qsizetype(names.size()));
        for (size_t i = 0; i < names.size() && !dates->cancelled(); ++i) {
            const TakenDates::Stamp stamp = dates->stamp(folderFd, names[i]);
            keys.push_back({stamp.time, {}});
            ordered.undated.push_back(!stamp.taken);
        }
        keys.resize(names.size());
        ordered.undated.resize(names.size());
    }
    // Stable over the name order, so equal keys keep it whichever way the keys run.
    const auto less = [&keys, &order](qsizetype a, qsizetype b) {
        const Key &x = keys[size_t(order.reversed ? b : a)];
        const Key &y = keys[size_t(order.reversed ? a : b)];
        if (x.number != y.number)
            return x.number < y.number;
        return x.text < y.text;
    };
    std::stable_sort(byName.begin(), byName.end(), less);
    return ordered;
}

} // namespace tolvane
