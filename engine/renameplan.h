#pragma once

#include "engine/renameentry.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace tolvane {

// The renames of a batch, one per file name and in the same order, numbered from the start
// text's value. Pure: touches no file.
QList<RenameEntry> PlanRename(const QString &pattern, const QString &startText,
                              const QByteArray &folderPath, const QList<QByteArray> &fileNames);

} // namespace tolvane
