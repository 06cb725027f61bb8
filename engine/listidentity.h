#pragma once

#include "engine/folderlisting.h"

#include <QByteArray>
#include <QStringList>
#include <sys/types.h>
#include <vector>

namespace tolvane {

// Which file each name of a file list stood for at one moment. The list is not re-read after
// a rename, so a name it shows may later belong to another file (one renamed to it); this
// finds out, so that no later click acts on a file the list does not show.
class ListIdentity
{
public:
    // Looks up every listed name now (lstat, without following links).
    static ListIdentity take(const QByteArray &folder, const FolderListing &listing);

    // True when one of the display names is a listed name that now stands for a file other
    // than the one it stood for when taken (or for any file, when it stood for none).
    bool anyChanged(const QStringList &displayNames) const;

private:
    struct Identity
    {
        dev_t device = 0;
        ino_t inode = 0;
        bool exists = false;
        bool operator==(const Identity &) const = default;
    };
    static Identity identify(const QByteArray &path);

    QByteArray m_folder;
    FolderListing m_listing;
    std::vector<Identity> m_identities;
};

} // namespace tolvane
