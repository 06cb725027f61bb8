#pragma once

#include "engine/batch/batchjob.h"
#include "engine/batch/journal.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace tolvane {

// Undoing the newest batch not undone yet, from its journal: its folder is found again on its
// file system wherever that is mounted now, each file by its identity wherever the batch left
// it (new, temporary or old name), and moved back to its old name with the same no-replace
// moves. Names are never converted back: only recorded names are used. What could not be moved
// back stays in the journal for the next undo.
class Undo
{
public:
    enum class Stage { New, NothingToUndo, JournalUnreadable, FolderNotFound, Ready, Ran };
    // A recorded file that is no longer anywhere the batch left it.
    struct Lost
    {
        JournalRecord::Entry entry;
        QString reason;
    };

    // Reads the journal, finds the folder and the files and plans their way back (a worker
    // may run it).
    void prepare();
    // Moves the files back; only what got its old name back counts as undone.
    void execute();
    void cancel();

    Stage stage() const { return m_stage; }
    // Why there is nothing to run, or why the journal could not be brought up to date.
    const QString &error() const { return m_error; }
    const QByteArray &folder() const { return m_folder; }
    // Files that will get their old names back.
    qsizetype count() const { return m_job ? m_job->plan().moveCount() : 0; }
    const QList<Lost> &lost() const { return m_lost; }
    // Files that already have their old names.
    const QList<JournalRecord::Entry> &alreadyBack() const { return m_back; }
    // Files left for the next undo after execute().
    qsizetype left() const { return m_left; }
    const BatchJob *job() const { return m_job.get(); }
    bool cancelled() const { return m_job && m_job->cancelled(); }
    // One line for each file that did not get its old name back, and why.
    QStringList problemLines() const;
    // How many files can still be undone later, for after the problem lines; empty for none.
    QString leftText() const;

private:
    bool findFolder();

    Stage m_stage = Stage::New;
    QString m_error;
    JournalRecord m_record;
    std::shared_ptr<const FolderHandle> m_handle;
    QByteArray m_folder;
    QList<qsizetype> m_moved; // the entry each file of the job stands for
    QList<Lost> m_lost;
    QList<JournalRecord::Entry> m_back;
    qsizetype m_left = 0;
    std::unique_ptr<BatchJob> m_job;
};

} // namespace tolvane
