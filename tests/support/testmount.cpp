#include "support/testmount.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tolvane::test {
namespace {

QString findTool(const QString &tool)
{
    return QStandardPaths::findExecutable(tool, {u"/usr/sbin"_s, u"/sbin"_s, u"/usr/bin"_s});
}

bool isImage(TestMount::Kind kind)
{
    using K = TestMount::Kind;
    return kind == K::Exfat || kind == K::Ext4 || kind == K::Ntfs;
}

bool isFuse(TestMount::Kind kind)
{
    using K = TestMount::Kind;
    return kind == K::Exfat || kind == K::Ntfs || kind == K::Bindfs || kind == K::Sshfs;
}

// Binds to a free port of 127.0.0.1 (the port then), or connects to one (0 when it answered).
int localPort(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(quint16(port));
    socklen_t size = sizeof address;
    const auto at = reinterpret_cast<sockaddr *>(&address);
    int result = -1;
    if (port == 0 && ::bind(fd, at, size) == 0 && ::getsockname(fd, at, &size) == 0)
        result = ntohs(address.sin_port);
    else if (port != 0)
        result = ::connect(fd, at, size) == 0 ? 0 : -1;
    ::close(fd);
    return result;
}

// An sshd of the test's own, on a free port of 127.0.0.1, that lets root in with a key made
// here: its port, or 0 with `error` set.
int startSshd(const QString &dir, QProcess &sshd, QString &error)
{
    const QString sshdPath = findTool(u"sshd"_s);
    if (sshdPath.isEmpty() || findTool(u"ssh-keygen"_s).isEmpty()) {
        error = u"openssh-server is not installed"_s;
        return 0;
    }
    for (const QString &key : {u"host"_s, u"client"_s})
        runTool(u"ssh-keygen"_s,
                {u"-q"_s, u"-t"_s, u"ed25519"_s, u"-N"_s, {}, u"-f"_s, dir + u'/' + key}, error);
    QFile::copy(dir + u"/client.pub"_s, dir + u"/authorized_keys"_s);
    const int port = localPort(0);
    QFile config(dir + u"/sshd_config"_s);
    config.open(QIODevice::WriteOnly);
    config.write(u"Port %1\nListenAddress 127.0.0.1\nHostKey %2/host\nAuthorizedKeysFile "
                 "%2/authorized_keys\nPermitRootLogin prohibit-password\nPasswordAuthentication "
                 "no\nStrictModes no\nUsePAM no\nPidFile %2/sshd.pid\nSubsystem sftp "
                 "internal-sftp\n"_s.arg(port)
                     .arg(dir)
                     .toUtf8());
    config.close();
    QDir().mkpath(u"/run/sshd"_s);
    sshd.start(sshdPath, {u"-D"_s, u"-e"_s, u"-f"_s, config.fileName()});
    for (int i = 0; i < 100 && error.isEmpty(); ++i) {
        if (localPort(port) == 0)
            return port;
        if (sshd.state() == QProcess::NotRunning)
            error = u"sshd did not start: "_s + QString::fromLocal8Bit(sshd.readAllStandardError());
        QThread::msleep(50);
    }
    if (error.isEmpty())
        error = u"sshd does not answer"_s;
    return 0;
}

} // namespace

QString runTool(const QString &tool, const QStringList &arguments, QString &error)
{
    const QString program = findTool(tool);
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
            m_sshd = std::make_unique<QProcess>();
            const int port = startSshd(m_dir.path(), *m_sshd, error);
            if (port)
                runTool(u"sshfs"_s,
                        {u"root@127.0.0.1:"_s + served, at, u"-p"_s, QString::number(port), u"-o"_s,
                         u"IdentityFile=%1/client,StrictHostKeyChecking=no,"
                         "UserKnownHostsFile=/dev/null,BatchMode=yes"_s.arg(m_dir.path())},
                        error);
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
    if (m_sshd) {
        m_sshd->terminate();
        m_sshd->waitForFinished(5000);
    }
    if (!error.isEmpty())
        qWarning("%s", qPrintable(error));
}

QByteArray TestMount::path() const
{
    return m_at;
}

} // namespace tolvane::test
