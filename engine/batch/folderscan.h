#pragma once

#include "platform/mountplace.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>
#include <sys/types.h>

namespace tolvane {

// Who a name stands for: enough to find a file again after it was renamed, also after its file
// system was mounted again. Where inode numbers are stable the inode says it; elsewhere (FUSE,
// FAT, network folders) the size and modification time, which a rename keeps, stand beside
// the name.
struct FileIdentity
{
    dev_t device = 0; // within one mount only: the next mount of a stick has another
    ino_t inode = 0;
    qint64 size = -1;    // -1 where only the inode was read
    qint64 modified = 0; // nanoseconds since the epoch
    bool operator==(const FileIdentity &) const = default;
};

// Whether a file found now is the one recorded, on a file system with or without stable
// inode numbers.
bool sameFile(const FileIdentity &recorded, const FileIdentity &found, bool stableInodes);
// The identity of a name in an open folder, with size and time; none when nothing is there.
std::optional<FileIdentity> identityAt(int folderFd, const QByteArray &name);
// The key under which the names that one file may answer to meet: the name itself, or where the
// file system folds case its case-folded form.
QByteArray spellingKey(const QByteArray &name, bool foldsCase);

// What a name in a folder stands for right now, as a batch plan needs to know it.
class FolderScan
{
public:
    enum class Kind { File, Folder, Link, Other };
    struct Entry
    {
        FileIdentity identity;
        Kind kind = Kind::Other;
        qsizetype owner = -1; // the file of the batch listed under this name, if any
    };

    // Reads the open folder, which stays the caller's; error() is the errno when that failed.
    // sizeHint: about how many entries it has. mount, when given, is the folder's, already
    // known (the folders of a tree share their root's).
    explicit FolderScan(int folderFd, qsizetype sizeHint = 0,
                        const std::optional<MountPlace> &mount = std::nullopt);
    FolderScan(const FolderScan &) = delete;
    FolderScan &operator=(const FolderScan &) = delete;

    int error() const { return m_error; }
    // Longest name the folder's file system takes, in bytes.
    long nameMax() const { return m_nameMax; }
    // True where a name may find an entry spelt otherwise (case-insensitive file systems).
    bool foldsCase() const { return m_foldsCase; }
    bool stableInodes() const { return m_stableInodes; }
    // The folder's mount, when the system tells it.
    const std::optional<MountPlace> &mount() const { return m_mount; }

    // The entry a single name stands for, if any, exactly as spelt.
    std::optional<Entry> find(const QByteArray &name) const;
    // find() for a name the folder lists, which from now on is owned by the batch's file
    // `owner`; none for a name not listed or already owned.
    std::optional<Entry> claim(const QByteArray &name, qsizetype owner);
    // The entry of the folder that a name finds under another spelling (case-insensitive
    // file systems), compared by case folding; empty when there is none or more than one.
    QByteArray aliasOf(const QByteArray &name) const;
    QByteArray spellingKey(const QByteArray &name) const
    {
        return tolvane::spellingKey(name, m_foldsCase);
    }

private:
    int m_fd = -1;
    int m_error = 0;
    long m_nameMax = 255;
    bool m_stableInodes = false; // and readdir lists them: no fstatat per name
    bool m_foldsCase = false;
    std::optional<MountPlace> m_mount;
    QHash<QByteArray, Entry> m_names;
    mutable QHash<QByteArray, QByteArray> m_folded; // made on first need
};

} // namespace tolvane
