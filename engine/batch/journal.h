#pragma once

#include "engine/batch/expected.h"
#include "engine/batch/folderscan.h"

#include <QByteArray>
#include <QList>
#include <optional>

namespace tolvane {

class BatchPlan;

// The record of one batch, written before its first move so that it can be undone later, also
// after a crash or with its stick in another slot: the folder is found again by its file
// system's name and its path inside it, each file by its identity at its new, temporary or old
// name.
struct JournalRecord
{
    struct Entry
    {
        qsizetype id = 0; // names the file's temporary name
        QByteArray from;
        QByteArray to;
        FileIdentity identity; // no device: that changes with every mount
        qsizetype block = 0;   // in blocks, for a tree
    };
    QByteArray path; // the journal file itself
    QByteArray folder;
    QByteArray fileSystem; // see MountPlace; empty in journals of the first format
    QByteArray mountPoint;
    QByteArray insideFileSystem;
    bool stableInodes = true;
    QByteArray temporaryStem;
    QList<Entry> entries;
    // A tree: each folder's path below `folder` in the names it had before the batch ("" for
    // `folder` itself), deepest first, in the order its entries were moved. Empty for one folder.
    QByteArrayList blocks;
};

// The journals of the last batches, one file each in $XDG_STATE_HOME/tolvane (by default
// ~/.local/state/tolvane), a folder that the user alone owns and may write: a journal that
// another user could plant or change would move the user's files.
namespace Journal {

constexpr int kept = 20;

QByteArray folder();
// Writes the moves of a plan and flushes them to disk; its path. Nothing is left behind
// when it fails.
Expected<QByteArray> write(const BatchPlan &plan);
Expected<QByteArray> write(const JournalRecord &record);
// What write(plan) records, for a tree to put its folders' records together.
JournalRecord recordOf(const BatchPlan &plan);
// Whether a path below a folder is one a tree journal may name: single names joined by "/".
bool isRelativePath(const QByteArray &path);
// The newest batch not undone yet, or none. A journal that is damaged, not the user's or not
// a plain file is an error and is never acted on.
Expected<std::optional<JournalRecord>> latest();
// Removes the journal of a batch that moved nothing, so that an undo takes the one before.
Expected<Done> discard(const QByteArray &path);
// After an undo: the entries still to be undone stay in the journal; with none left the batch
// counts as undone and the next undo takes the one before it.
Expected<Done> keepOnly(const JournalRecord &record, const QList<JournalRecord::Entry> &left);

} // namespace Journal
} // namespace tolvane
