#pragma once

#include "engine/conversionstate.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace tolvane {

class MessageBoxes;
class ResultList;

// The two renames of the traditional-to-simplified tab. Each asks first (title "转换"), moves
// through FileMover without ever replacing a file, appends to the result list only the names
// the files really have afterwards, and reports every failure together, once, at the end.
// Names are raw bytes; one that is not valid UTF-8 keeps its name.

// Command4's Click: renames the selected file (empty when none is selected) to the simplified
// form of text4's text as it is now, plus the file's own extension (the bytes after its first
// "."). A new name with nothing before its extension is refused.
void convertSelected(const QByteArray &folderPath, const QByteArray &selected,
                     const QString &text4Text, ResultList &results, MessageBoxes &messages,
                     ConversionState &state);

// Command5's Click: renames every listed file to the simplified form of its whole name.
// Returns true when the question was answered Yes: the form then hides Command5.
bool convertFolder(const QByteArray &folderPath, const QList<QByteArray> &fileNames,
                   ResultList &results, MessageBoxes &messages, ConversionState &state);

} // namespace tolvane
