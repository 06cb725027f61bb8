#include "workbench/drivelistbox.h"

#include "platform/rawname.h"

#include <QByteArray>
#include <climits>
#include <unistd.h>

namespace tolvane {
namespace {

// The working folder as raw bytes: QDir would hand back a decoded string.
QByteArray workingFolder()
{
    QByteArray buffer(PATH_MAX, '\0');
    if (!::getcwd(buffer.data(), buffer.size()))
        return "/";
    return QByteArray(buffer.constData());
}

} // namespace

DriveListBox::DriveListBox(QWidget *parent) : QComboBox(parent)
{
    const QByteArray working = workingFolder();
    const DriveTable drives(DriveTable::mountedRoots(), working);
    setDrives(drives, std::max<qsizetype>(0, drives.indexHolding(working)));
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            Q_EMIT Change();
    });
}

void DriveListBox::setDrives(const DriveTable &drives, qsizetype current)
{
    m_filling = true;
    m_drives = drives;
    clear();
    for (qsizetype i = 0; i < drives.count(); ++i)
        addItem(displayName(drives.root(i)));
    setCurrentIndex(int(current));
    m_filling = false;
}

void DriveListBox::rememberFolder(const QByteArray &path)
{
    m_drives.rememberFolder(path);
    showDriveOf(path);
}

void DriveListBox::showDriveOf(const QByteArray &path)
{
    const qsizetype index = m_drives.indexHolding(path);
    if (index < 0)
        return;
    m_filling = true;
    setCurrentIndex(int(index));
    m_filling = false;
}

QByteArray DriveListBox::drive() const
{
    return currentIndex() < 0 ? QByteArray() : m_drives.root(currentIndex());
}

QByteArray DriveListBox::folder() const
{
    return currentIndex() < 0 ? QByteArray() : m_drives.folder(currentIndex());
}

} // namespace tolvane
