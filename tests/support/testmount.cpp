#include "support/testmount.h"

#include "support/testdir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tolvane::test {
namespace {

// Images come first among the kinds, FUSE ones after ext4 but for tmpfs and binds.
bool isImage(TestMount::Kind kind)
{
    return kind <= TestMount::Kind::Ntfs;
}

bool isFuse(TestMount::Kind kind)
{
    return kind != TestMount::Kind::Ext4 &&
           (kind <= TestMount::Kind::Ntfs || kind >= TestMount::Kind::Bindfs);
}

} // namespace

QString runTool(const QString &tool, const QStringList &arguments, QString &error)
{
    const QString program =
        QStandardPaths::findExecutable(tool, {u"/usr/sbin"_s, u"/sbin"_s, u"/usr/bin"_s});
    if (program.isEmpty()) {
        error = tool + u" is not installed"_s;
        return {};
    }
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        error = tool + u" failed: "_s +
                QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return {};
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

FileMover::Way probeWay(const QByteArray &folder)
{
    TestDir scratch(folder);
    scratch.createFile("a");
    const QByteArray a = scratch.nativePath() + "/a";
    // Onto a free name: the kernel refuses a taken one itself, before the driver sees the flag.
    if (::renameat2(AT_FDCWD, a, AT_FDCWD, a + 'b', RENAME_NOREPLACE) == 0)
        return FileMover::Way::NoReplace;
    return ::link(a, a + 'c') == 0 ? FileMover::Way::Link : FileMover::Way::CheckThenRename;
}

TestMount::TestMount(Kind kind, const QByteArray &source) : m_kind(kind)
{
    m_at = QFile::encodeName(m_dir.filePath(u"mnt"_s));
    if (::geteuid() != 0)
        m_skipReason = u"mounting needs root"_s;
    else if (isFuse(kind) && ::access("/dev/fuse", R_OK | W_OK) != 0)
        m_skipReason = u"no /dev/fuse"_s;
    else if (!m_dir.isValid() || !QDir(m_dir.path()).mkdir(u"mnt"_s))
        m_skipReason = u"no temporary folder"_s;
    else
        m_skipReason = mount(source);
}

// Attaches the image to a free loop device: the one attached before, if any, is still held,
// so the device is another one.
QString TestMount::attach()
{
    QString error;
    const QString device = runTool(u"losetup"_s, {u"-f"_s, u"--show"_s, m_image}, error);
    if (!m_device.isEmpty())
        runTool(u"losetup"_s, {u"-d"_s, m_device}, error);
    m_device = device;
    if (error.isEmpty()) {
        static const QString mounters[] = {u"mount.exfat-fuse"_s, u"mount"_s, u"ntfs-3g"_s};
        runTool(mounters[int(m_kind)], {m_device, QFile::decodeName(m_at)}, error);
    }
    m_mounted = error.isEmpty();
    return error;
}

QString TestMount::mount(const QByteArray &source)
{
    QString error;
    const QString at = QFile::decodeName(m_at);
    if (isImage(m_kind)) {
        m_image = m_dir.filePath(u"disk.img"_s);
        QFile file(m_image);
        if (!file.open(QIODevice::WriteOnly) || !file.resize(32 << 20))
            return u"cannot make the image: "_s + file.errorString();
        static const QStringList makers[] = {
            {u"mkfs.exfat"_s}, {u"mkfs.ext4"_s, u"-q"_s}, {u"mkntfs"_s, u"-F"_s, u"-Q"_s, u"-q"_s}};
        runTool(makers[int(m_kind)].first(), makers[int(m_kind)].mid(1) << m_image, error);
        return error.isEmpty() ? attach() : error;
    }
    if (m_kind == Kind::Bindfs || m_kind == Kind::Sshfs) {
        const QString served = m_dir.filePath(u"served"_s);
        QDir().mkpath(served);
        if (m_kind == Kind::Bindfs) {
            runTool(u"bindfs"_s, {served, at}, error);
        } else {
            runTool(QStringLiteral(TOLVANE_TEST_SUPPORT "/sshfs-mount.sh"),
                    {served, at, m_dir.path()}, error);
        }
        m_mounted = error.isEmpty();
        return error;
    }
    int result = 0;
    if (m_kind == Kind::Tmpfs)
        result = ::mount("tolvane-test", m_at.constData(), "tmpfs", 0, "size=64k");
    else if ((result = ::mount(source.constData(), m_at.constData(), nullptr, MS_BIND, nullptr)) ==
             0)
        result =
            ::mount(nullptr, m_at.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr);
    m_mounted = true; // also after a bind whose remount failed
    return result == 0 ? QString() : u"mount failed: "_s + QString::fromLocal8Bit(strerror(errno));
}

QString TestMount::unmount()
{
    if (m_mounted && ::umount2(m_at.constData(), 0) != 0)
        return u"cannot unmount: "_s + QString::fromLocal8Bit(strerror(errno));
    m_mounted = false;
    // A FUSE daemon lets the image go only once it has ended.
    for (int i = 0; i < 100 && isFuse(m_kind) && !m_device.isEmpty(); ++i) {
        QString error;
        runTool(u"fuser"_s, {u"-s"_s, m_device}, error);
        if (!error.isEmpty())
            break;
        QThread::msleep(20);
    }
    return {};
}

QString TestMount::remount(bool elsewhere)
{
    if (!isImage(m_kind))
        return u"only images are remounted"_s;
    if (const QString error = unmount(); !error.isEmpty())
        return error;
    m_at = QFile::encodeName(m_dir.filePath(elsewhere ? u"mnt-elsewhere"_s : u"mnt"_s));
    QDir().mkpath(QFile::decodeName(m_at));
    return attach();
}

TestMount::~TestMount()
{
    // A failed test may have left a file open; then the mount goes once it is closed.
    if (!unmount().isEmpty())
        ::umount2(m_at.constData(), MNT_DETACH);
    QString error;
    if (!m_device.isEmpty())
        runTool(u"losetup"_s, {u"-d"_s, m_device}, error);
    if (m_kind == Kind::Sshfs)
        runTool(QStringLiteral(TOLVANE_TEST_SUPPORT "/sshfs-mount.sh"), {u"stop"_s, m_dir.path()},
                error);
    if (!error.isEmpty())
        qWarning("%s", qPrintable(error));
}

QByteArray TestMount::path() const
{
    return m_at;
}

} // namespace tolvane::test
