#include "engine/listing/foldertree.h"

#include "platform/rawname.h"

namespace tolvane {

QByteArray parentFolder(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

QList<FolderRow> folderRows(const QByteArray &root, const QByteArray &path,
                            const QList<QByteArray> &subfolders)
{
    QByteArray top = root;
    const bool inside =
        root == "/" || path == root || (path.startsWith(root) && path.at(root.size()) == '/');
    if (!inside)
        top = "/";

    QList<FolderRow> rows;
    rows.append({top, displayName(top), 0, true});
    if (path != top) {
        const QByteArray rest = path.mid(top == "/" ? 1 : top.size() + 1);
        QByteArray current = top;
        for (const QByteArray &part : rest.split('/')) {
            if (part.isEmpty())
                continue;
            current = joinPath(current, part);
            rows.append({current, displayName(part), int(rows.size()), true});
        }
    }
    const int depth = int(rows.size());
    for (const QByteArray &name : subfolders)
        rows.append({joinPath(path, name), displayName(name), depth, false});
    return rows;
}

} // namespace tolvane
