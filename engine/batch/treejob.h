#pragma once

#include "engine/batch/batchjob.h"
#include "engine/batch/treewalk.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace tolvane {

// A folder's whole tree renamed as one batch: every folder is planned as a batch of its own,
// so each keeps every rule of one folder, but the tree is checked whole first (a problem in
// any folder and nothing moves), written to one journal and moved children first, parents
// last, through the descriptors the walk opened. The root keeps its own name.
class TreeJob
{
public:
    using Namer = std::function<QByteArray(const QByteArray &name)>;
    struct Options
    {
        bool recursive = true; // else only the root's own files (and folders)
        bool folders = false;  // folder names change too
        bool journal = true;
    };
    enum class Stage { New, FolderUnreadable, Refused, JournalFailed, Ready, Ran };
    // The batch of one folder, its path below the root as it was before the batch.
    struct Block
    {
        QByteArray path;
        std::unique_ptr<BatchJob> job;
        qsizetype fileCount = 0; // its names are the files first, then the subfolders
        // A name in this folder as a path below the root.
        QByteArray pathOf(const QByteArray &name) const { return pathBelow(path, name); }
    };

    TreeJob(std::shared_ptr<const FolderHandle> root, Namer namer, Options options);

    // Walks and plans the tree; nothing is written. Ready when it may be executed.
    void prepare();
    // Writes the journal, then moves.
    void execute();
    void run() { prepare(), execute(); }
    void cancel();

    Stage stage() const { return m_stage; }
    const QByteArray &rootPath() const { return m_root->path(); }
    const TreeWalk &walk() const { return m_walk; }
    // Deepest first: the order of the moves.
    const std::vector<Block> &blocks() const { return m_blocks; }
    qsizetype problemCount() const;
    // Names that will change: of files, and of folders.
    qsizetype fileMoveCount() const;
    qsizetype folderMoveCount() const;
    bool cancelled() const;
    qsizetype done() const;
    qsizetype total() const;

    // Why nothing was moved (an unreadable folder, a journal not written); empty otherwise.
    QString notStarted() const;
    // One line per name kept against the plan, with its path below the root.
    QStringList problemLines() const;
    // Folders on other file systems, which were left alone.
    QString skippedText() const;

private:
    std::shared_ptr<const FolderHandle> m_root;
    Namer m_namer;
    Options m_options;
    Stage m_stage = Stage::New;
    TreeWalk m_walk;
    std::vector<Block> m_blocks;
    QByteArray m_stem;
    QString m_journalError;
    QByteArray m_journalPath;
    std::atomic<bool> m_cancel = false;
    std::atomic<BatchJob *> m_running = nullptr;
};

} // namespace tolvane
