#pragma once

#include "engine/folderscan.h"

#include <QByteArray>
#include <QList>
#include <vector>

namespace tolvane {

// Why a file of a batch keeps its name; decided before the first move.
enum class PlanProblem {
    None,
    Missing,       // the file is no longer there
    Empty,         // the new name is empty
    DotName,       // the new name is "." or ".."
    Nul,           // the new name holds a NUL byte
    TooLong,       // a part of the new name is longer than the file system allows
    NoFolder,      // the new name's folder does not exist
    TakenByFile,   // held by a file that the batch does not move away
    TakenByFolder, // held by a folder
    TakenByLink,   // held by a link
    TakenByOther,  // held by something else (a device, a pipe)
    SameTarget,    // another file of the batch is given the same name
};

struct PlannedRename
{
    QByteArray from; // inside the folder, as listed
    QByteArray to;   // inside the folder; a leading "/" is dropped, other "/" name subfolders
    FileIdentity identity;
    PlanProblem problem = PlanProblem::None;
    bool unchanged() const { return from == to; }
};

// One move of a batch. A move that would take a name still held by another file of the batch
// waits until that file has moved; a ring of such moves, or a name that finds its own file
// under another spelling, goes through a temporary name.
struct PlanStep
{
    enum class Move { Direct, ToTemporary, FromTemporary };
    qsizetype rename;
    Move move;
};

// Every new name of a batch checked against the folder as it is now, and the moves in an order
// in which no move needs a name that is still taken.
class BatchPlan
{
public:
    // from and to have the same length; temporaryStem names the temporary names
    // (temporaryStem + "-" + the file's index), which must not clash with anything.
    // temporaryIds, when given, replace the indexes in the temporary names (an undo uses the
    // names its batch used).
    static BatchPlan make(const QByteArray &folder, const QList<QByteArray> &from,
                          const QList<QByteArray> &to, const QByteArray &temporaryStem,
                          const QList<qsizetype> &temporaryIds = {});

    QByteArray folder;
    QByteArray temporaryStem;
    int folderError = 0; // errno when the folder could not be read: nothing is planned then
    QList<PlannedRename> renames;
    QList<qsizetype> temporaryIds;
    std::vector<PlanStep> steps;

    qsizetype temporaryId(qsizetype rename) const
    {
        return temporaryIds.isEmpty() ? rename : temporaryIds[rename];
    }
    QByteArray temporaryName(qsizetype rename) const;
    qsizetype problemCount() const;
    // Files that will be moved (problem-free and not already named so).
    qsizetype moveCount() const;
};

} // namespace tolvane
