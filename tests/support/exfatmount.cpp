#include "support/exfatmount.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <sys/mount.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tolvane::test {
namespace {

// Runs a tool from the system folders; returns its output, or sets `error` to why it failed.
QString run(const QString &tool, const QStringList &arguments, QString &error)
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

} // namespace

ExfatMount::ExfatMount()
{
    m_skipReason = mount();
}

QString ExfatMount::mount()
{
    if (::geteuid() != 0)
        return u"mounting a loop device needs root"_s;
    if (::access("/dev/fuse", R_OK | W_OK) != 0)
        return u"no /dev/fuse"_s;
    if (!m_dir.isValid() || !QDir(m_dir.path()).mkdir(u"mnt"_s))
        return u"no temporary folder"_s;
    const QString image = m_dir.filePath(u"exfat.img"_s);
    QFile file(image);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(32 << 20))
        return u"cannot make the image: "_s + file.errorString();
    file.close();
    QString error;
    run(u"mkfs.exfat"_s, {image}, error);
    if (!error.isEmpty())
        return error;
    m_device = run(u"losetup"_s, {u"-f"_s, u"--show"_s, image}, error);
    if (!error.isEmpty())
        return u"no free loop device: "_s + error;
    run(u"mount.exfat-fuse"_s, {m_device, QFile::decodeName(path())}, error);
    m_mounted = error.isEmpty();
    return error;
}

ExfatMount::~ExfatMount()
{
    // A failed test may have left a file open; then the mount goes once it is closed.
    if (m_mounted && ::umount2(path().constData(), 0) != 0)
        ::umount2(path().constData(), MNT_DETACH);
    QString error;
    if (!m_device.isEmpty())
        run(u"losetup"_s, {u"-d"_s, m_device}, error);
    if (!error.isEmpty())
        qWarning("%s", qPrintable(error));
}

QByteArray ExfatMount::path() const
{
    return QFile::encodeName(m_dir.filePath(u"mnt"_s));
}

} // namespace tolvane::test
