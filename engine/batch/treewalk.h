#pragma once

#include "platform/folderhandle.h"

#include <QByteArray>
#include <QList>
#include <memory>
#include <vector>

namespace tolvane {

// A name in a folder of a tree as a path below the tree's root; folder is "" for the root.
inline QByteArray pathBelow(const QByteArray &folder, const QByteArray &name)
{
    return folder.isEmpty() ? name : folder + '/' + name;
}

// One folder of a tree, open, with the names a tree batch may change in it. Hidden names are
// left out, as the file list leaves them out; links are neither listed nor followed.
struct TreeFolder
{
    QByteArray path; // below the tree's root, "" for the root itself
    std::shared_ptr<const FolderHandle> handle;
    QList<QByteArray> files;   // regular files
    QList<QByteArray> folders; // subfolders on the root's file system
};

// A folder's whole tree read through descriptors: each subfolder is opened beneath the root
// with no link followed, and one on another file system (a mount point) is skipped.
class TreeWalk
{
public:
    // Without recursive only the root is read (its subfolders are still checked to be on its
    // file system).
    static TreeWalk read(const std::shared_ptr<const FolderHandle> &root, bool recursive);

    std::vector<TreeFolder> folders; // each after all of its subfolders, the root last
    QByteArrayList otherFileSystems; // paths below the root, skipped
    QByteArray unreadable;           // the first folder that could not be read
    int error = 0;                   // and why (errno); nothing else is read after it
};

} // namespace tolvane
