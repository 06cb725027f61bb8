#pragma once

#include "engine/batchjob.h"
#include "engine/journal.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace tolvane {

// Undoing the newest batch not undone yet, from its journal: each file is found by its identity
// wherever the batch left it (new, temporary or old name) and moved back to its old name with
// the same no-replace moves. Names are never converted back: only recorded names are used.
class Undo
{
public:
    enum class Stage { New, NothingToUndo, JournalUnreadable, Ready, Ran };

    // Reads the journal, finds the files and plans their way back (a worker may run it).
    void prepare();
    // Moves the files back; the batch counts as undone unless this was cancelled.
    void execute();
    void cancel();

    Stage stage() const { return m_stage; }
    const QString &error() const { return m_error; }
    const QByteArray &folder() const { return m_record.folder; }
    // Files that will get their old names back.
    qsizetype count() const { return m_job ? m_job->plan().moveCount() : 0; }
    // Recorded files found nowhere: deleted, renamed or replaced since the batch.
    const QList<JournalRecord::Entry> &lost() const { return m_lost; }
    static QString lostReason();
    const BatchJob *job() const { return m_job.get(); }
    bool cancelled() const { return m_job && m_job->cancelled(); }
    // One line for each file that did not get its old name back, and why.
    QStringList problemLines() const;

private:
    Stage m_stage = Stage::New;
    QString m_error;
    JournalRecord m_record;
    QList<JournalRecord::Entry> m_lost;
    std::unique_ptr<BatchJob> m_job;
};

} // namespace tolvane
