#pragma once

#include "engine/batchstate.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace tolvane {

class MessageBoxes;
class ResultList;

// Renames the files of one folder, in list order, to the pattern with a running serial,
// listing each new name right after its move. The first failed move ends the batch and is
// reported; files renamed before it keep their new names. No move ever replaces a file.
void RunSerialRename(const QString &pattern, const QString &startText, const QByteArray &folderPath,
                     const QList<QByteArray> &fileNames, ResultList &results,
                     MessageBoxes &messages, BatchState &state);

} // namespace tolvane
