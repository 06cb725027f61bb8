#pragma once

#include <QByteArrayView>
#include <optional>
#include <vector>

namespace tolvane {

// The order a file list is numbered in. Ties always fall back to the name order, ascending
// also when the order is reversed, so the same folder is numbered the same way every time.
struct ListOrder
{
    // By name (the natural order), modification time, size, or extension and then name.
    enum class Key { Name, Modified, Size, Type };
    Key key = Key::Name;
    bool reversed = false;

    // The command line's words for the keys: name, modified, size, type.
    static std::optional<Key> keyNamed(QByteArrayView word);
    bool operator==(const ListOrder &) const = default;
};

// Indexes of `names` (entries of the folder open as `folderFd`) in `order`. Times and sizes are
// read only when the order needs them; a file that cannot be read counts as empty and oldest.
std::vector<qsizetype> listOrder(int folderFd, const std::vector<QByteArrayView> &names,
                                 const ListOrder &order);

} // namespace tolvane
