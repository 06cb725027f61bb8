#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace tolvane::test {

// A real exFAT file system mounted through FUSE, as a USB stick is on many desktops: a 32 MiB
// image in its own temporary folder on a loop device. Needs root, /dev/fuse, a free loop device,
// mkfs.exfat and mount.exfat-fuse; where one is missing, ready() is false and skipReason() says
// which. The destructor unmounts and detaches, also after a failed test.
class ExfatMount
{
public:
    ExfatMount();
    ~ExfatMount();
    ExfatMount(const ExfatMount &) = delete;
    ExfatMount &operator=(const ExfatMount &) = delete;

    bool ready() const { return m_skipReason.isEmpty(); }
    QString skipReason() const { return m_skipReason; }
    QByteArray path() const;

private:
    QString mount();

    QTemporaryDir m_dir;
    QString m_device;
    bool m_mounted = false;
    QString m_skipReason;
};

} // namespace tolvane::test
