#pragma once

#include "engine/folderscan.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace tolvane {

class BatchPlan;

// The record of one batch, written before its first move so that it can be undone later, also
// after a crash: every file is found again by its identity at its new, temporary or old name.
struct JournalRecord
{
    struct Entry
    {
        qsizetype id = 0; // names the file's temporary name: stem + "-" + id
        QByteArray from;
        QByteArray to;
        FileIdentity identity;
    };
    QByteArray path; // the journal file itself
    QByteArray folder;
    QByteArray temporaryStem;
    QList<Entry> entries;
};

// The journals of the last batches, one file each in $XDG_STATE_HOME/tolvane (by default
// ~/.local/state/tolvane), readable by the user alone.
namespace Journal {

constexpr int kept = 20;

QByteArray folder();
// Writes the moves of a plan and flushes them to disk: the journal's path, or why it could not
// be written (then nothing is left behind).
std::optional<QByteArray> write(const BatchPlan &plan, QString *error);
// The newest batch not undone yet; none when there is none. A damaged journal is an error.
std::optional<JournalRecord> latest(QString *error);
// Marks a batch as undone, so that the next undo takes the one before it.
bool markUndone(const JournalRecord &record, QString *error);

} // namespace Journal
} // namespace tolvane
