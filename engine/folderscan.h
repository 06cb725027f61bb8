#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>
#include <sys/types.h>

namespace tolvane {

// Who a name stands for: enough to find a file again after it was renamed.
struct FileIdentity
{
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity &) const = default;
};

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

    // Opens and reads the folder; error() is the errno when that failed. sizeHint: about how
    // many entries it has.
    explicit FolderScan(const QByteArray &folderPath, qsizetype sizeHint = 0);
    ~FolderScan();
    FolderScan(const FolderScan &) = delete;
    FolderScan &operator=(const FolderScan &) = delete;

    int error() const { return m_error; }
    int folderFd() const { return m_fd; }
    // Longest name the folder's file system takes, in bytes.
    long nameMax() const { return m_nameMax; }
    // True where a name may find an entry spelt otherwise (case-insensitive file systems).
    bool foldsCase() const { return m_foldsCase; }

    // The entry a name (relative to the folder; may hold "/") stands for, if any. A name
    // without "/" is taken as the folder lists it: exactly as spelt.
    std::optional<Entry> find(const QByteArray &name) const;
    // find() for a name the folder lists, which from now on is owned by the batch's file
    // `owner`; none for a name not listed or already owned.
    std::optional<Entry> claim(const QByteArray &name, qsizetype owner);
    // The entry of the folder that a name finds under another spelling (case-insensitive
    // file systems), compared by case folding; empty when there is none or more than one.
    QByteArray aliasOf(const QByteArray &name) const;

private:
    int m_fd = -1;
    int m_error = 0;
    long m_nameMax = 255;
    dev_t m_device = 0;
    bool m_inodesListed = false; // else each name's identity comes from fstatat
    bool m_foldsCase = false;
    QHash<QByteArray, Entry> m_names;
    mutable QHash<QString, QByteArray> m_folded; // made on first need
};

} // namespace tolvane
