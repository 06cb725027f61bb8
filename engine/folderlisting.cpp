#include "engine/folderlisting.h"

#include "engine/nameorder.h"
#include "platform/rawname.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace tolvane {
namespace {

// d_type saves a stat per entry; links and file systems without d_type are asked directly,
// following links as a file manager does.
bool isKind(DIR *dir, const dirent *entry, FolderListing::Kind kind)
{
    const bool wantFolder = kind == FolderListing::Kind::Folders;
    switch (entry->d_type) {
    case DT_REG:
        return !wantFolder;
    case DT_DIR:
        return wantFolder;
    case DT_LNK:
    case DT_UNKNOWN: {
        struct stat st;
        if (::fstatat(::dirfd(dir), entry->d_name, &st, 0) != 0)
            return false;
        return wantFolder ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode);
    }
    default:
        return false;
    }
}

} // namespace

FolderListing FolderListing::read(const QByteArray &folder, Kind kind)
{
    FolderListing listing;
    DIR *dir = ::opendir(folder.constData());
    if (!dir) {
        listing.m_error = errno;
        return listing;
    }
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.' || !isKind(dir, entry, kind))
            continue;
        listing.m_raw.append(QByteArray(entry->d_name));
    }
    ::closedir(dir);

    listing.m_display.reserve(listing.m_raw.size());
    for (const QByteArray &name : std::as_const(listing.m_raw))
        listing.m_display.append(displayName(name));
    sortNames(listing.m_raw, listing.m_display);
    return listing;
}

} // namespace tolvane
