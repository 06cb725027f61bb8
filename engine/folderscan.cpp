#include "engine/folderscan.h"

#include <QString>
#include <cerrno>
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

// File systems whose readdir inode numbers are the files' own: one pass over the folder then
// replaces a stat call per name, a third of a rename's cost.
bool inodesListed(const struct statfs &fs)
{
    switch (static_cast<unsigned long>(fs.f_type)) {
    case EXT4_SUPER_MAGIC:
    case TMPFS_MAGIC:
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
        return true;
    default:
        return false;
    }
}

// Where one file may answer to several spellings: FAT, exFAT, SMB, FUSE (which may be any of
// them) and case-folding folders of ext4 or tmpfs.
bool mayFoldCase(int fd, const struct statfs &fs)
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
        break;
    }
    int flags = 0;
    constexpr int caseFold = 0x40000000; // FS_CASEFOLD_FL
    return ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & caseFold);
}

QString folded(const QByteArray &name)
{
    return QString::fromUtf8(name).toCaseFolded();
}

} // namespace

FolderScan::FolderScan(const QByteArray &folderPath, qsizetype sizeHint)
{
    m_names.reserve(sizeHint + 16);
    if (folderPath.contains('\0')) {
        m_error = EINVAL;
        return;
    }
    m_fd = ::open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) {
        m_error = errno;
        return;
    }
    struct stat st;
    struct statfs fs;
    if (::fstat(m_fd, &st) != 0 || ::fstatfs(m_fd, &fs) != 0) {
        m_error = errno;
        return;
    }
    m_device = st.st_dev;
    if (const long max = ::fpathconf(m_fd, _PC_NAME_MAX); max > 0)
        m_nameMax = max;
    m_inodesListed = inodesListed(fs);
    m_foldsCase = mayFoldCase(m_fd, fs);

    const int dup = ::openat(m_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *dir = dup < 0 ? nullptr : ::fdopendir(dup);
    if (!dir) {
        m_error = errno;
        if (dup >= 0)
            ::close(dup);
        return;
    }
    while (const dirent *entry = ::readdir(dir)) {
        Entry found{{m_device, entry->d_ino}, kindOf(entry->d_type), -1};
        if (entry->d_type == DT_UNKNOWN) {
            struct stat st;
            if (::fstatat(m_fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
                found = {{st.st_dev, st.st_ino}, kindOf(st.st_mode), -1};
        }
        m_names.insert(QByteArray(entry->d_name), found);
    }
    ::closedir(dir);
}

FolderScan::~FolderScan()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

std::optional<FolderScan::Entry> FolderScan::find(const QByteArray &name) const
{
    // A name the listing lacks is not asked of the file system: on FUSE the lookup of another
    // spelling of a file makes a cached entry that outlives the file's next rename.
    qsizetype owner = -1;
    if (!name.contains('/')) {
        const auto found = m_names.constFind(name);
        if (found == m_names.constEnd())
            return std::nullopt;
        if (m_inodesListed)
            return *found;
        owner = found->owner;
    }
    struct stat st;
    if (m_fd < 0 || name.contains('\0') ||
        ::fstatat(m_fd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return Entry{{st.st_dev, st.st_ino}, kindOf(st.st_mode), owner};
}

std::optional<FolderScan::Entry> FolderScan::claim(const QByteArray &name, qsizetype owner)
{
    // A file in a subfolder is not listed: an undo names one where its batch moved it.
    if (name.contains('/') && !m_names.contains(name)) {
        std::optional<Entry> found = find(name);
        if (found) {
            found->owner = owner;
            m_names.insert(name, *found);
        }
        return found;
    }
    const auto listed = m_names.find(name);
    if (listed == m_names.end() || listed->owner >= 0)
        return std::nullopt;
    listed->owner = owner;
    return find(name);
}

QByteArray FolderScan::aliasOf(const QByteArray &name) const
{
    if (m_folded.isEmpty()) {
        // Two entries folding alike make that spelling ambiguous: an empty name marks it.
        for (auto it = m_names.constBegin(); it != m_names.constEnd(); ++it) {
            const QString key = folded(it.key());
            if (const auto slot = m_folded.find(key); slot != m_folded.end())
                slot->clear();
            else
                m_folded.insert(key, it.key());
        }
    }
    const QByteArray match = m_folded.value(folded(name));
    return match == name ? QByteArray() : match;
}

} // namespace tolvane
