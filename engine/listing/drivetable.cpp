#include "engine/listing/drivetable.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace tolvane {
namespace {

bool contains(const QByteArray &root, const QByteArray &path)
{
    if (root == "/")
        return path.startsWith('/');
    return path == root || (path.startsWith(root) && path.at(root.size()) == '/');
}

// Kernel and runtime mounts that hold no user files.
bool isSystemMount(const QByteArray &root, const QByteArray &type)
{
    static const QList<QByteArray> prefixes = {"/proc",    "/sys",      "/dev",  "/run",
                                               "/var/run", "/var/lock", "/snap", "/boot/efi"};
    for (const QByteArray &prefix : prefixes) {
        if (contains(prefix, root))
            return true;
    }
    return type == "squashfs" || type == "autofs" || type.startsWith("cgroup");
}

} // namespace

DriveTable::DriveTable(QList<QByteArray> mountPoints, const QByteArray &workingFolder)
{
    std::sort(mountPoints.begin(), mountPoints.end(), [](const QByteArray &a, const QByteArray &b) {
        if ((a == "/") != (b == "/"))
            return a == "/";
        return a < b;
    });
    mountPoints.erase(std::unique(mountPoints.begin(), mountPoints.end()), mountPoints.end());
    m_roots = mountPoints;
    m_folders = mountPoints;
    rememberFolder(workingFolder);
}

QList<QByteArray> DriveTable::mountedRoots()
{
    QList<QByteArray> roots;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QByteArray root = QFile::encodeName(volume.rootPath());
        // Containers bind single files (/etc/hosts) as mounts; only folders are drives.
        if (!volume.isValid() || !volume.isReady() || !QFileInfo(volume.rootPath()).isDir() ||
            isSystemMount(root, volume.fileSystemType()))
            continue;
        roots.append(root);
    }
    if (!roots.contains("/"))
        roots.append("/");
    return roots;
}

qsizetype DriveTable::indexHolding(const QByteArray &path) const
{
    qsizetype best = -1;
    for (qsizetype i = 0; i < m_roots.size(); ++i) {
        if (contains(m_roots.at(i), path) &&
            (best < 0 || m_roots.at(i).size() > m_roots.at(best).size()))
            best = i;
    }
    return best;
}

void DriveTable::rememberFolder(const QByteArray &path)
{
    const qsizetype index = indexHolding(path);
    if (index >= 0)
        m_folders[index] = path;
}

} // namespace tolvane
