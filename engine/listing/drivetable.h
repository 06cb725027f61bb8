#pragma once

#include <QByteArray>
#include <QList>

namespace tolvane {

// The drives of the drive list: mount points of real file systems, root first, each with the
// folder it was last at. The drive holding the working folder starts there, the others at
// their mount point.
class DriveTable
{
public:
    DriveTable() = default;
    DriveTable(QList<QByteArray> mountPoints, const QByteArray &workingFolder);
    // The mounted volumes of real file systems on this machine.
    static QList<QByteArray> mountedRoots();

    qsizetype count() const { return m_roots.size(); }
    const QByteArray &root(qsizetype index) const { return m_roots.at(index); }
    const QByteArray &folder(qsizetype index) const { return m_folders.at(index); }
    // The drive whose mount point is the longest one containing the path; -1 if none does.
    qsizetype indexHolding(const QByteArray &path) const;
    // Remembers the path as the current folder of the drive holding it.
    void rememberFolder(const QByteArray &path);

private:
    QList<QByteArray> m_roots;
    QList<QByteArray> m_folders;
};

} // namespace tolvane
