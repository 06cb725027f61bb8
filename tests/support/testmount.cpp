#include "support/testmount.h"

#include "support/testdir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tolvane::test {

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

QString TestMount::mount(Kind kind, const QByteArray &source)
{
    if (::geteuid() != 0)
        return u"mounting needs root"_s;
    if (kind == Kind::Exfat && ::access("/dev/fuse", R_OK | W_OK) != 0)
        return u"no /dev/fuse"_s;
    if (!m_dir.isValid() || !QDir(m_dir.path()).mkdir(u"mnt"_s))
        return u"no temporary folder"_s;
    const QByteArray at = path();
    QString error;
    if (kind == Kind::Exfat || kind == Kind::Ext4) {
        const QString image = m_dir.filePath(u"disk.img"_s);
        QFile file(image);
        if (!file.open(QIODevice::WriteOnly) || !file.resize(32 << 20))
            return u"cannot make the image: "_s + file.errorString();
        const bool exfat = kind == Kind::Exfat;
        runTool(exfat ? u"mkfs.exfat"_s : u"mkfs.ext4"_s, {image}, error);
        if (error.isEmpty())
            m_device = runTool(u"losetup"_s, {u"-f"_s, u"--show"_s, image}, error);
        if (error.isEmpty())
            runTool(exfat ? u"mount.exfat-fuse"_s : u"mount"_s, {m_device, QFile::decodeName(at)},
                    error);
        m_mounted = error.isEmpty();
        return error;
    }
    int result = 0;
    if (kind == Kind::Tmpfs)
        result = ::mount("tolvane-test", at.constData(), "tmpfs", 0, "size=64k");
    else if ((result = ::mount(source.constData(), at.constData(), nullptr, MS_BIND, nullptr)) == 0)
        result =
            ::mount(nullptr, at.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr);
    m_mounted = true; // also after a bind whose remount failed
    return result == 0 ? QString() : u"mount failed: "_s + QString::fromLocal8Bit(strerror(errno));
}

TestMount::~TestMount()
{
    // A failed test may have left a file open; then the mount goes once it is closed.
    if (m_mounted && ::umount2(path().constData(), 0) != 0)
        ::umount2(path().constData(), MNT_DETACH);
    QString error;
    if (!m_device.isEmpty())
        runTool(u"losetup"_s, {u"-d"_s, m_device}, error);
    if (!error.isEmpty())
        qWarning("%s", qPrintable(error));
}

QByteArray TestMount::path() const
{
    return QFile::encodeName(m_dir.filePath(u"mnt"_s));
}

} // namespace tolvane::test
