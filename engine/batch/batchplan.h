#pragma once

#include "engine/batch/folderscan.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>
#include <vector>

namespace tolvane {

class FolderHandle;

// Why a file of a batch keeps its name; decided before the first move.
enum class PlanProblem {
    None,
    Missing,       // the file is no longer there
    Empty,         // the new name is empty
    DotName,       // the new name is "." or ".."
    Nul,           // the new name holds a NUL byte
    Slash,         // the new name holds "/": it would leave the folder
    TooLong,       // the new name is longer than the file system allows
    TakenByFile,   // held by a file that the batch does not move away
    TakenByFolder, // held by a folder
    TakenByLink,   // held by a link
    TakenByOther,  // held by something else (a device, a pipe)
    SameTarget,    // another file of the batch is given the same name
    ReadOnly,      // the folder's file system is mounted read-only
    NoPermission,  // the folder may not be written by this user
    Immutable,     // the file, or its folder, is marked immutable or append-only
};

// Why a new name cannot be a name in the folder at all, whatever the folder holds.
PlanProblem nameProblem(const QByteArray &name, long nameMax);

struct PlannedRename
{
    QByteArray from; // a name in the folder, as listed
    QByteArray to;   // a name in the same folder
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

// The hidden name a file of a batch takes between the two moves of a ring.
QByteArray temporaryName(const QByteArray &stem, qsizetype id);
// Whether a name is one a batch gives its temporary names: ".tolvane-" and lower-case letters,
// digits and "-".
bool isTemporaryStem(const QByteArray &stem);

// Every new name of a batch checked against the folder as it is now, and the moves in an order
// in which no move needs a name that is still taken.
//
// What holds of every plan, and what checkInvariants() checks:
// - each rename without a problem whose name changes is moved by exactly one Direct step, or by
//   one ToTemporary step followed later by its FromTemporary step; nothing else has a step;
// - every new name of a moved file is a single name in the folder (nameProblem finds nothing),
//   and no two moved files get names that the file system takes for one;
// - walked in order, no step's target is held at that moment by a file of the batch, and no
//   temporary name is anybody's new name.
class BatchPlan
{
public:
    // from and to have the same length; temporaryStem names the temporary names, which must
    // not clash with anything. temporaryIds, when given, replace the indexes in the temporary
    // names (an undo uses the names its batch used). mount, when given, is the folder's.
    static BatchPlan make(const FolderHandle &folder, const QList<QByteArray> &from,
                          const QList<QByteArray> &to, const QByteArray &temporaryStem,
                          const QList<qsizetype> &temporaryIds = {},
                          const std::optional<MountPlace> &mount = std::nullopt);

    QByteArray folder;
    QByteArray temporaryStem;
    int folderError = 0; // errno when the folder could not be read: nothing is planned then
    bool stableInodes = false;
    bool foldsCase = false;
    std::optional<MountPlace> mount;
    QList<PlannedRename> renames;
    QList<qsizetype> temporaryIds;
    std::vector<PlanStep> steps;

    qsizetype temporaryId(qsizetype rename) const
    {
        return temporaryIds.isEmpty() ? rename : temporaryIds[rename];
    }
    QByteArray temporaryName(qsizetype rename) const
    {
        return tolvane::temporaryName(temporaryStem, temporaryId(rename));
    }
    qsizetype problemCount() const;
    // Files that will be moved (problem-free and not already named so).
    qsizetype moveCount() const;
    bool moves(qsizetype rename) const
    {
        return renames[rename].problem == PlanProblem::None && !renames[rename].unchanged();
    }
    // The first of the invariants above that does not hold; empty when all do.
    QString checkInvariants() const;
};

} // namespace tolvane
