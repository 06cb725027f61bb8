#include "engine/batch/treejob.h"

#include "engine/batch/batchreport.h"
#include "engine/batch/journal.h"
#include "platform/systemerror.h"

#include <algorithm>
#include <numeric>

namespace tolvane {
namespace {

using Outcome = RenameResult::Outcome;

bool failed(const BatchJob &job)
{
    const std::vector<RenameResult> &results = job.results();
    return std::any_of(results.cbegin(), results.cend(), [](const RenameResult &r) {
        return r.outcome == Outcome::Failed || r.outcome == Outcome::Stranded;
    });
}

} // namespace

TreeJob::TreeJob(std::shared_ptr<const FolderHandle> root, Namer namer, Options options)
    : m_root(std::move(root)), m_namer(std::move(namer)), m_options(options)
{}

void TreeJob::prepare()
{
    m_walk = TreeWalk::read(m_root, m_options.recursive);
    if (m_walk.error != 0) {
        m_stage = Stage::FolderUnreadable;
        return;
    }
    m_stem = newTemporaryStem();
    // Temporary ids are the tree's own, so that one journal names every file once.
    qsizetype nextId = 0;
    std::optional<MountPlace> mount;
    const auto namer = [this](qsizetype, const QByteArray &name) { return m_namer(name); };
    for (TreeFolder &folder : m_walk.folders) {
        // A cancelled count leaves the job new: nothing to run.
        if (m_cancel)
            return;
        QList<QByteArray> names = folder.files;
        if (m_options.folders)
            names += folder.folders;
        QList<qsizetype> ids(names.size());
        std::iota(ids.begin(), ids.end(), nextId);
        nextId += names.size();
        auto job = std::make_unique<BatchJob>(std::move(folder.handle), names, namer,
                                              BatchJob::Options{.refuseOnProblem = false,
                                                                .stopAtFirstFailure = true,
                                                                .journal = false});
        job->useTemporaries(m_stem, ids);
        // Reading the mount table and probing the device once per folder would cost more than
        // a small folder's moves; the walk kept to the root's mount.
        job->useMount(mount);
        job->prepare();
        mount = job->plan().mount;
        if (job->stage() == BatchJob::Stage::FolderUnreadable) {
            m_walk.unreadable = folder.path;
            m_walk.error = job->plan().folderError;
            m_stage = Stage::FolderUnreadable;
            return;
        }
        m_blocks.push_back({folder.path, std::move(job), folder.files.size()});
    }
    m_stage = problemCount() > 0 ? Stage::Refused : Stage::Ready;
}

void TreeJob::execute()
{
    if (m_stage != Stage::Ready)
        return;
    if (m_options.journal && total() > 0) {
        JournalRecord record = Journal::recordOf(m_blocks.back().job->plan());
        record.entries.clear();
        for (qsizetype b = 0; b < qsizetype(m_blocks.size()); ++b) {
            record.blocks.append(m_blocks[size_t(b)].path);
            for (JournalRecord::Entry entry :
                 Journal::recordOf(m_blocks[size_t(b)].job->plan()).entries) {
                entry.block = b;
                record.entries.append(entry);
            }
        }
        const Expected<QByteArray> written = Journal::write(record);
        if (!written) {
            m_journalError = written.error();
            m_stage = Stage::JournalFailed;
            return;
        }
        m_journalPath = *written;
    }
    // A failure stops the tree: what moved so far stays undoable as one batch.
    bool moved = false;
    for (Block &block : m_blocks) {
        m_running = block.job.get();
        if (m_cancel)
            break;
        block.job->execute();
        moved = moved || block.job->done() > 0 || failed(*block.job);
        if (block.job->cancelled() || failed(*block.job))
            break;
    }
    m_stage = Stage::Ran;
    if (!moved && !m_journalPath.isEmpty() && Journal::discard(m_journalPath))
        m_journalPath.clear();
}

void TreeJob::cancel()
{
    m_cancel = true;
    if (BatchJob *running = m_running)
        running->cancel();
}

qsizetype TreeJob::problemCount() const
{
    return sumOverJobs(m_blocks, [](const BatchJob &job) { return job.plan().problemCount(); });
}

qsizetype TreeJob::fileMoveCount() const
{
    qsizetype n = 0;
    for (const Block &block : m_blocks)
        for (qsizetype i = 0; i < block.fileCount; ++i)
            n += block.job->plan().moves(i);
    return n;
}

qsizetype TreeJob::folderMoveCount() const
{
    return total() - fileMoveCount();
}

bool TreeJob::cancelled() const
{
    return m_cancel || sumOverJobs(m_blocks, [](const BatchJob &job) { return job.cancelled(); });
}

qsizetype TreeJob::done() const
{
    return sumOverJobs(m_blocks, [](const BatchJob &job) { return job.done(); });
}

qsizetype TreeJob::total() const
{
    return sumOverJobs(m_blocks, [](const BatchJob &job) { return job.total(); });
}

QString TreeJob::notStarted() const
{
    if (m_stage == Stage::FolderUnreadable)
        return QStringLiteral("无法打开文件夹【%1】：%2\n没有改名任何文件。")
            .arg(BatchReport::shownName(m_walk.unreadable.isEmpty()
                                            ? rootPath()
                                            : rootPath() + '/' + m_walk.unreadable),
                 systemErrorText(m_walk.error));
    if (m_stage == Stage::JournalFailed)
        return QStringLiteral("无法写入改名记录，没有改名任何文件。\n%1").arg(m_journalError);
    return {};
}

QStringList TreeJob::problemLines() const
{
    QStringList lines;
    for (const Block &block : m_blocks)
        lines += BatchReport::problemLines(*block.job, block.path);
    return lines;
}

QString TreeJob::skippedText() const
{
    QStringList lines;
    for (const QByteArray &path : m_walk.otherFileSystems)
        lines.append(QStringLiteral("【%1】").arg(BatchReport::shownName(path)));
    if (lines.isEmpty())
        return {};
    return BatchReport::listed(QStringLiteral("下列文件夹在另一个文件系统上，没有改动其中的名称："),
                               lines);
}

} // namespace tolvane
