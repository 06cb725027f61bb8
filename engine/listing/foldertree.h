#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace tolvane {

// One row of the folder list: the open folders from the drive's root down to the current
// folder, then the current folder's subfolders one level deeper.
struct FolderRow
{
    QByteArray path;
    QString label;
    int depth = 0;
    bool open = false; // an ancestor or the current folder
};

// The rows shown for `path` on the drive mounted at `root`; `subfolders` are the current
// folder's subfolder names in list order. A path outside the root is shown from "/".
QList<FolderRow> folderRows(const QByteArray &root, const QByteArray &path,
                            const QList<QByteArray> &subfolders);

// The parent of a folder path ("/" stays "/").
QByteArray parentFolder(const QByteArray &path);

} // namespace tolvane
