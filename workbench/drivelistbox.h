#pragma once

#include "engine/drivetable.h"

#include <QComboBox>

namespace tolvane {

// The drive list (Drivestation): one entry per mounted volume, each remembering the folder the
// folder list was last at on it. Raises Change when another drive is chosen.
class DriveListBox : public QComboBox
{
    Q_OBJECT

public:
    // Lists this machine's drives, starting on the one holding the working folder.
    explicit DriveListBox(QWidget *parent = nullptr);

    void setDrives(const DriveTable &drives, qsizetype current);

    QByteArray drive() const;
    // The current drive's remembered folder.
    QByteArray folder() const;
    void rememberFolder(const QByteArray &path) { m_drives.rememberFolder(path); }
    // Shows the drive holding path again without raising Change (a drive that could not be
    // opened leaves the folder list where it was).
    void showDriveOf(const QByteArray &path);

Q_SIGNALS:
    void Change();

private:
    DriveTable m_drives;
    bool m_filling = false;
};

} // namespace tolvane
