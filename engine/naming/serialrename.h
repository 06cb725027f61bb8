#pragma once

#include "engine/batch/batchjob.h"
#include "engine/naming/batchstate.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <memory>

namespace tolvane {

class MessageBoxes;
class ResultList;

// The serial rename: every file of the folder, in list order, gets the pattern with a running
// serial plus its own extension. The whole batch is planned first: if any new name is unusable,
// nothing is renamed and the problems are listed. The moves never replace a file; a failed
// move stops the batch, and what was done can be undone.

// Why a batch of these inputs is refused before it touches anything ("没填完！", a start beyond
// numbers, a NUL or "/" in the pattern); empty when it may run. The pattern is bytes: the
// command line takes it as given, the window as UTF-8.
QString serialRenameRefusal(const QByteArray &pattern, const QString &startText);
// What a pattern with "/" is told, also while it is typed.
QString slashInPattern();
// Whether a refusal still leaves names to make, each of which the plan refuses on its own.
bool refusedForEachName(const QString &refusal);
// The names a batch of these inputs gives; the inputs make names (see above).
BatchJob::Namer serialNamer(const QByteArray &pattern, const QString &startText);

// Checks the inputs; the job when the batch may run (the result list is cleared then), none
// after telling the user why not.
std::unique_ptr<BatchJob> startSerialRename(const QByteArray &pattern, const QString &startText,
                                            const QByteArray &folderPath,
                                            const QList<QByteArray> &fileNames, ResultList &results,
                                            MessageBoxes &messages, BatchState &state);
// Lists the new names of the files renamed, in list order, and reports what was not done.
void finishSerialRename(const BatchJob &job, ResultList &results, MessageBoxes &messages);

// Both around the job's run, on this thread.
void RunSerialRename(const QByteArray &pattern, const QString &startText,
                     const QByteArray &folderPath, const QList<QByteArray> &fileNames,
                     ResultList &results, MessageBoxes &messages, BatchState &state);

// Appends the new names of the files that have them, in list order; a file with a note (by its
// place in the batch) gets the note instead.
void listRenamed(const BatchJob &job, ResultList &results,
                 const QHash<qsizetype, QString> &notes = {});

} // namespace tolvane
