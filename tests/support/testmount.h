#pragma once

#include "platform/filemover.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace tolvane::test {

// A file system mounted in its own temporary folder while this lives: a 32 MiB image of exFAT
// or NTFS through FUSE (as USB sticks are on many desktops) or of ext4 on a loop device, a
// 64 KiB tmpfs, `source` seen read-only through a bind or through bindfs, or a folder of this
// machine through sshfs from an sshd of its own on 127.0.0.1. Needs root, and for images a free
// loop device and their tools (FUSE /dev/fuse too); else ready() is false and skipReason()
// says why.
class TestMount
{
public:
    enum class Kind { Exfat, Ext4, Ntfs, Tmpfs, ReadOnly, Bindfs, Sshfs }; // images first
    explicit TestMount(Kind kind, const QByteArray &source = {});
    ~TestMount();

    bool ready() const { return m_skipReason.isEmpty(); }
    QString skipReason() const { return m_skipReason; }
    QByteArray path() const;
    // An image unmounted and mounted again through another loop device, as a stick unplugged
    // and put into another slot: at its own folder, or elsewhere (a new mount point beside).
    // Empty, or why it failed.
    QString remount(bool elsewhere);

private:
    QString mount(const QByteArray &source);
    QString attach();
    QString unmount();

    Kind m_kind;
    QTemporaryDir m_dir;
    QString m_image;
    QString m_device;
    QByteArray m_at;
    bool m_mounted = false;
    QString m_skipReason;
};

// The way a FileMover settles on in `folder`, tried on scratch files there: drivers differ
// between releases (exfat-fuse honours RENAME_NOREPLACE on libfuse3, not on libfuse 2).
FileMover::Way probeWay(const QByteArray &folder);

// Runs a tool from the system folders; returns its output, or sets `error` to why it failed.
QString runTool(const QString &tool, const QStringList &arguments, QString &error);

} // namespace tolvane::test
