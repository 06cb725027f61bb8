#pragma once

#include "engine/listing/drivetable.h"

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
    // Remembers the path as the folder of the drive holding it, and shows that drive: the
    // folder list can reach a folder on another drive without passing through this box.
    void rememberFolder(const QByteArray &path);
    // Shows the drive holding path without raising Change.
    void showDriveOf(const QByteArray &path);

Q_SIGNALS:
    void Change();

private:
    DriveTable m_drives;
    bool m_filling = false;
};

} // namespace tolvane
