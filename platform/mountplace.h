#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

namespace tolvane {

// A mounted file system as a batch must know it: what names it across an unplug and a remount
// (never the device number, which the next slot or loop device changes), where it is mounted
// now, and how it treats names and inode numbers.
struct MountPlace
{
    // "uuid:…", else "label:…", else "source:<type>:<source>" for file systems with neither
    // (network and FUSE mounts, tmpfs).
    QByteArray fileSystem;
    QByteArray mountPoint;
    QByteArray root; // the folder of the file system mounted there: "/" unless a bind mount
    QByteArray type; // the real type: a FUSE block device's is read from the device ("exfat")

    // Inode numbers that survive a remount and a rename (ext4, btrfs, xfs, f2fs; tmpfs, whose
    // files do not outlive their mount): elsewhere a file is known by name, size and time.
    bool stableInodes = false;
    // One file answers to several spellings of its name.
    bool foldsCase = false;

    // The path of a folder of this file system, given as a path inside the file system; empty
    // when this mount does not show it.
    QByteArray pathOf(const QByteArray &insideFileSystem) const;
    // The reverse: where a folder under this mount lies inside its file system.
    QByteArray insideFileSystem(const QByteArray &path) const;
};

// The mount holding an open folder.
std::optional<MountPlace> mountPlaceOf(int folderFd);
// Every mount of a file system, most recently mounted last.
QList<MountPlace> mountsOf(const QByteArray &fileSystem);

} // namespace tolvane
