#pragma once

#include "engine/batch/batchjob.h"
#include "engine/batch/journal.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>
#include <vector>

namespace tolvane {

// Undoing the newest batch not undone yet, from its journal: its folder is found again on its
// file system wherever that is mounted now, each file by its identity wherever the batch left
// it (new, temporary or old name), and moved back to its old name with the same no-replace
// moves. Names are never converted back: only recorded names are used. What could not be moved
// back stays in the journal for the next undo. A tree is undone folder by folder, parents first,
// each folder found where the batch left it: under its new, temporary or old name.
class Undo
{
public:
    // The moves back in one folder, its path below the batch's folder as it was before the
    // batch ("" for that folder itself).
    struct Block
    {
        QByteArray path;
        std::unique_ptr<BatchJob> job;
        QList<qsizetype> moved; // the entry each file of the job stands for
    };
    enum class Stage { New, NothingToUndo, JournalUnreadable, FolderNotFound, Ready, Ran };
    // A recorded file that is no longer anywhere the batch left it; in a tree, its names are
    // paths below the batch's folder.
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
    qsizetype count() const;
    const QList<Lost> &lost() const { return m_lost; }
    // Files that already have their old names (as paths, as lost()).
    const QList<JournalRecord::Entry> &alreadyBack() const { return m_back; }
    // Files left for the next undo after execute().
    qsizetype left() const { return m_left; }
    // The root folder's job; every folder's, parents first.
    const BatchJob *job() const { return m_blocks.empty() ? nullptr : m_blocks.front().job.get(); }
    const std::vector<Block> &blocks() const { return m_blocks; }
    bool cancelled() const;
    // Files back at their old names so far, of how many.
    qsizetype done() const;
    qsizetype total() const;
    // One line for each file that did not get its old name back, and why.
    QStringList problemLines() const;
    // How many files can still be undone later, for after the problem lines; empty for none.
    QString leftText() const;

private:
    bool findFolder();
    // Where a tree's folder is now: each step under its new, temporary or old name.
    std::shared_ptr<const FolderHandle> locate(const QByteArray &path,
                                               const QList<QList<qsizetype>> &byBlock,
                                               const QHash<QByteArray, qsizetype> &index) const;
    void planBlock(const QByteArray &path, std::shared_ptr<const FolderHandle> handle,
                   const QList<qsizetype> &entries);

    Stage m_stage = Stage::New;
    QString m_error;
    JournalRecord m_record;
    std::shared_ptr<const FolderHandle> m_handle;
    QByteArray m_folder;
    QList<Lost> m_lost;
    QList<JournalRecord::Entry> m_back;
    qsizetype m_left = 0;
    std::vector<Block> m_blocks;
    std::atomic<bool> m_cancel = false;
    std::atomic<BatchJob *> m_running = nullptr;
};

} // namespace tolvane
