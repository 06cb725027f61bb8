#pragma once

#include <QByteArrayView>
#include <QtGlobal>
#include <optional>
#include <vector>

namespace tolvane {

// The order a file list is numbered in. Ties always fall back to the name order, ascending
// also when the order is reversed, so the same folder is numbered the same way every time.
struct ListOrder
{
    // By name (the natural order), date taken (photos; the modification time of files without
    // one), modification time, size, or extension and then name.
    enum class Key { Name, Taken, Modified, Size, Type };
    Key key = Key::Name;
    bool reversed = false;

    // The command line's words for the keys: name, taken, modified, size, type.
    static std::optional<Key> keyNamed(QByteArrayView word);
    bool operator==(const ListOrder &) const = default;
};

class TakenDates;

struct OrderedNames
{
    // Indexes of the names in order.
    std::vector<qsizetype> indexes;
    // By index of the names, under the taken order: those ordered by their modification time, as
    // they hold no date taken. Empty under the other orders.
    std::vector<bool> undated;
};

// `names` (entries of the folder open as `folderFd`) in `order`. Times and sizes are read only
// when the order needs them; a file that cannot be read counts as empty and oldest. The taken
// order reads dates through `dates` (without it, every file is undated); when that reading is
// cancelled, the order returned is incomplete.
OrderedNames listOrder(int folderFd, const std::vector<QByteArrayView> &names,
                       const ListOrder &order, TakenDates *dates = nullptr);

} // namespace tolvane
