#include "engine/batch/folderscan.h"

#include "platform/filetime.h"
#include "platform/rawname.h"

#include <QString>
#include <QStringDecoder>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <linux/magic.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace tolvane {
namespace {

FolderScan::Kind kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return FolderScan::Kind::File;
    if (S_ISDIR(mode))
        return FolderScan::Kind::Folder;
    if (S_ISLNK(mode))
        return FolderScan::Kind::Link;
    return FolderScan::Kind::Other;
}

FolderScan::Kind kindOf(unsigned char type)
{
    switch (type) {
    case DT_REG:
        return FolderScan::Kind::File;
    case DT_DIR:
        return FolderScan::Kind::Folder;
    case DT_LNK:
        return FolderScan::Kind::Link;
    default:
        return FolderScan::Kind::Other;
    }
}

// Where the mount table cannot be read: file systems whose readdir inode numbers are the
// files' own, and those that may fold case (FUSE may be any of them).
bool stableByType(const struct statfs &fs)
{
    switch (static_cast<unsigned long>(fs.f_type)) {
    case EXT4_SUPER_MAGIC:
    case TMPFS_MAGIC:
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case F2FS_SUPER_MAGIC:
        return true;
    default:
        return false;
    }
}

bool foldsByType(const struct statfs &fs)
{
    constexpr unsigned long exfat = 0x2011BAB0, cifs = 0xFF534D42, smb2 = 0xFE534D42,
                            fuse = 0x65735546;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case MSDOS_SUPER_MAGIC:
    case exfat:
    case cifs:
    case smb2:
    case SMB_SUPER_MAGIC:
    case fuse:
        return true;
    default:
        return false;
    }
}

// Case-folding folders of ext4 or tmpfs fold whatever their file system's type.
bool caseFoldingFolder(int fd)
{
    int flags = 0;
    constexpr int caseFold = 0x40000000; // FS_CASEFOLD_FL
    return ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & caseFold);
}

FileIdentity identityOf(const struct stat &st)
{
    // A folder's time changes with every rename inside it, as a tree batch makes before it
    // renames the folder itself.
    if (S_ISDIR(st.st_mode))
        return {st.st_dev, st.st_ino, qint64(st.st_size), 0};
    return {st.st_dev, st.st_ino, qint64(st.st_size), modifiedNanoseconds(st)};
}

} // namespace

bool sameFile(const FileIdentity &recorded, const FileIdentity &found, bool stableInodes)
{
    if (stableInodes || recorded.size < 0 || found.size < 0)
        return recorded.inode == found.inode;
    // FAT keeps times to two seconds: a remount may read a time rounded since.
    constexpr qint64 slack = 2'000'000'000;
    return recorded.size == found.size && std::llabs(recorded.modified - found.modified) <= slack;
}

namespace {

std::optional<struct stat> statAt(int folderFd, const QByteArray &name)
{
    struct stat st;
    if (!isSingleName(name) || ::fstatat(folderFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return st;
}

} // namespace

std::optional<FileIdentity> identityAt(int folderFd, const QByteArray &name)
{
    const std::optional<struct stat> st = statAt(folderFd, name);
    return st ? std::optional(identityOf(*st)) : std::nullopt;
}

FolderScan::FolderScan(int folderFd, qsizetype sizeHint, const std::optional<MountPlace> &mount)
    : m_fd(folderFd)
{
    m_names.reserve(sizeHint + 16);
    struct statfs fs;
    if (m_fd < 0 || ::fstatfs(m_fd, &fs) != 0) {
        m_error = m_fd < 0 ? EBADF : errno;
        return;
    }
    if (const long max = ::fpathconf(m_fd, _PC_NAME_MAX); max > 0)
        m_nameMax = max;
    m_mount = mount ? mount : mountPlaceOf(m_fd);
    m_stableInodes = m_mount ? m_mount->stableInodes : stableByType(fs);
    m_foldsCase = (m_mount ? m_mount->foldsCase : foldsByType(fs)) || caseFoldingFolder(m_fd);

    const int own = ::openat(m_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *dir = own < 0 ? nullptr : ::fdopendir(own);
    if (!dir) {
        m_error = errno;
        if (own >= 0)
            ::close(own);
        return;
    }
    while (const dirent *entry = ::readdir(dir)) {
        Entry found{{0, entry->d_ino}, kindOf(entry->d_type), -1};
        if (entry->d_type == DT_UNKNOWN) {
            struct stat st;
            if (::fstatat(m_fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
                found = {identityOf(st), kindOf(st.st_mode), -1};
        }
        m_names.insert(QByteArray(entry->d_name), found);
    }
    ::closedir(dir);
}

std::optional<FolderScan::Entry> FolderScan::find(const QByteArray &name) const
{
    // A name the listing lacks is not asked of the file system: on FUSE the lookup of another
    // spelling of a file makes a cached entry that outlives the file's next rename.
    const auto found = m_names.constFind(name);
    if (found == m_names.constEnd())
        return std::nullopt;
    if (m_stableInodes)
        return *found;
    const std::optional<struct stat> st = statAt(m_fd, name);
    if (!st)
        return std::nullopt;
    return Entry{identityOf(*st), kindOf(st->st_mode), found->owner};
}

std::optional<FolderScan::Entry> FolderScan::claim(const QByteArray &name, qsizetype owner)
{
    const auto listed = m_names.find(name);
    if (listed == m_names.end() || listed->owner >= 0)
        return std::nullopt;
    listed->owner = owner;
    return find(name);
}

QByteArray spellingKey(const QByteArray &name, bool foldsCase)
{
    if (!foldsCase)
        return name;
    // Bytes that are not UTF-8 fold to nothing else; a leading byte-order mark is a character.
    if (!isValidUtf8(name))
        return '\xff' + name;
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return QString(decode(name)).toCaseFolded().toUtf8();
}

QByteArray FolderScan::aliasOf(const QByteArray &name) const
{
    if (m_folded.isEmpty()) {
        // Two entries folding alike make that spelling ambiguous: an empty name marks it.
        for (auto it = m_names.constBegin(); it != m_names.constEnd(); ++it) {
            const QByteArray key = spellingKey(it.key());
            if (const auto slot = m_folded.find(key); slot != m_folded.end())
                slot->clear();
            else
                m_folded.insert(key, it.key());
        }
    }
    const QByteArray match = m_folded.value(spellingKey(name));
    return match == name ? QByteArray() : match;
}

} // namespace tolvane
