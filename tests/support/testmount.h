#pragma once

#include "platform/filemover.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace tolvane::test {

// A file system mounted in its own temporary folder while this lives: a 32 MiB exFAT image
// through FUSE (as USB sticks are on many desktops) or ext4 image on a loop device, a 64 KiB
// tmpfs, or `source` seen read-only through a bind. Needs root, and for images a free loop
// device and their tools (exFAT /dev/fuse too); else ready() is false and skipReason() says why.
class TestMount
{
public:
    enum class Kind { Exfat, Ext4, Tmpfs, ReadOnly };
    explicit TestMount(Kind kind, const QByteArray &source = {}) : m_skipReason(mount(kind, source))
    {}
    ~TestMount();

    bool ready() const { return m_skipReason.isEmpty(); }
    QString skipReason() const { return m_skipReason; }
    QByteArray path() const;

private:
    QString mount(Kind kind, const QByteArray &source);

    QTemporaryDir m_dir;
    QString m_device;
    bool m_mounted = false;
    QString m_skipReason;
};

// The way a FileMover settles on in `folder`, tried on scratch files there: drivers differ
// between releases (exfat-fuse honours RENAME_NOREPLACE on libfuse3, not on libfuse 2).
FileMover::Way probeWay(const QByteArray &folder);

// Runs a tool from the system folders; returns its output, or sets `error` to why it failed.
QString runTool(const QString &tool, const QStringList &arguments, QString &error);

} // namespace tolvane::test
