#pragma once

#include "engine/batch/batchplan.h"
#include "engine/batch/batchrun.h"
#include "platform/folderhandle.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace tolvane {

// A stem for the temporary names of a new batch.
QByteArray newTemporaryStem();

// One batch from its names to its moves: the new names are made, the whole plan is checked
// against the folder, written to the journal and then carried out. prepare() and execute() may
// run on a worker thread; nothing here touches the user interface.
class BatchJob
{
public:
    // The new name of the file at that place in the list.
    using Namer = std::function<QByteArray(qsizetype index, const QByteArray &name)>;
    struct Options
    {
        bool refuseOnProblem = false;    // one problem in the plan and nothing is moved
        bool stopAtFirstFailure = false; // else moves that do not depend on a failed one go on
        bool journal = true;             // an undo moves the files of a journal already written
    };
    enum class Stage { New, FolderUnreadable, Refused, JournalFailed, Ready, Ran };

    // The folder is opened when the job is prepared; by a handle, as it was when listed.
    BatchJob(const QByteArray &folder, const QList<QByteArray> &names, Namer namer,
             Options options);
    BatchJob(std::shared_ptr<const FolderHandle> folder, const QList<QByteArray> &names,
             Namer namer, Options options);
    // For an undo: the temporary names its batch used, which its journal keeps finding.
    void useTemporaries(const QByteArray &stem, const QList<qsizetype> &ids);
    // For the folders of a tree: their mount, read once for the root.
    void useMount(const std::optional<MountPlace> &mount) { m_mount = mount; }

    // Names, plans and writes the journal: Ready afterwards when the moves may be made.
    void prepare();
    // Makes the moves of a Ready job.
    void execute();
    void run()
    {
        prepare();
        if (m_stage == Stage::Ready)
            execute();
    }
    void cancel() { m_cancel = true; }

    Stage stage() const { return m_stage; }
    const BatchPlan &plan() const { return m_plan; }
    // The results of the moves, one per file in list order; empty before execute().
    const std::vector<RenameResult> &results() const;
    bool cancelled() const { return m_run && m_run->cancelled(); }
    // Why the journal could not be written.
    const QString &journalError() const { return m_journalError; }
    // Whether a journal can still find what this job moved: its own, or the one it undoes.
    bool undoable() const { return !m_journalPath.isEmpty() || !m_ids.isEmpty(); }
    // Files that have their new names so far, and how many will be moved.
    qsizetype done() const { return m_done.load(std::memory_order_relaxed); }
    qsizetype total() const { return m_total.load(std::memory_order_relaxed); }

private:
    QByteArray m_folder;
    std::shared_ptr<const FolderHandle> m_handle;
    QList<QByteArray> m_names;
    Namer m_namer;
    Options m_options;
    QByteArray m_stem;
    QList<qsizetype> m_ids;
    std::optional<MountPlace> m_mount;
    Stage m_stage = Stage::New;
    BatchPlan m_plan;
    std::optional<BatchRun> m_run;
    QString m_journalError;
    QByteArray m_journalPath;
    std::atomic<bool> m_cancel = false;
    std::atomic<qsizetype> m_done = 0;
    std::atomic<qsizetype> m_total = 0;
};

// A count summed over the jobs of a batch made of several folders' (blocks holding a job each).
template <typename Blocks, typename Count> qsizetype sumOverJobs(const Blocks &blocks, Count count)
{
    qsizetype sum = 0;
    for (const auto &block : blocks)
        sum += count(*block.job);
    return sum;
}

} // namespace tolvane
