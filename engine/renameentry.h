#pragma once

#include <QByteArray>
#include <QString>

namespace tolvane {

// One planned rename. Names and paths are raw bytes so that a name that is not valid UTF-8
// still reaches its file; ListedName is the display form the result list shows.
struct RenameEntry
{
    QByteArray sourceName; // relative to the folder, as read from it
    QByteArray targetName; // relative to the folder; may name a subfolder
    QByteArray sourcePath;
    QByteArray targetPath;
    QString ListedName;
};

} // namespace tolvane
