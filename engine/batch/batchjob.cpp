#include "engine/batch/batchjob.h"

#include "engine/batch/journal.h"
#include "platform/filemover.h"

#include <QDateTime>
#include <unistd.h>

namespace tolvane {
// Hidden, so the file list never shows a file between its two moves, and unique to the batch.
QByteArray newTemporaryStem()
{
    static std::atomic<int> counter = 0;
    return ".tolvane-" + QByteArray::number(QDateTime::currentMSecsSinceEpoch(), 36) + '-' +
           QByteArray::number(::getpid(), 36) + '-' + QByteArray::number(counter++, 36);
}

namespace {

const std::vector<RenameResult> noResults;

} // namespace

BatchJob::BatchJob(const QByteArray &folder, const QList<QByteArray> &names, Namer namer,
                   Options options)
    : m_folder(folder), m_names(names), m_namer(std::move(namer)), m_options(options),
      m_stem(newTemporaryStem())
{}

BatchJob::BatchJob(std::shared_ptr<const FolderHandle> folder, const QList<QByteArray> &names,
                   Namer namer, Options options)
    : BatchJob(folder->path(), names, std::move(namer), options)
{
    m_handle = std::move(folder);
}

void BatchJob::useTemporaries(const QByteArray &stem, const QList<qsizetype> &ids)
{
    m_stem = stem;
    m_ids = ids;
}

void BatchJob::prepare()
{
    QList<QByteArray> targets;
    targets.reserve(m_names.size());
    for (qsizetype i = 0; i < m_names.size(); ++i)
        targets.append(m_namer(i, m_names[i]));
    if (!m_handle)
        m_handle = FolderHandle::open(m_folder);
    m_plan = BatchPlan::make(*m_handle, m_names, targets, m_stem, m_ids, m_mount);
    if (m_plan.folderError != 0) {
        m_stage = Stage::FolderUnreadable;
        return;
    }
    if (m_options.refuseOnProblem && m_plan.problemCount() > 0) {
        m_stage = Stage::Refused;
        return;
    }
    m_total = m_plan.moveCount();
    if (m_options.journal && m_total > 0) {
        const Expected<QByteArray> written = Journal::write(m_plan);
        if (!written) {
            m_journalError = written.error();
            m_stage = Stage::JournalFailed;
            return;
        }
        m_journalPath = *written;
    }
    m_stage = Stage::Ready;
}

void BatchJob::execute()
{
    m_run.emplace(m_plan);
    // The mount the plan read: the same folder's, by the same descriptor.
    FileMover mover(m_handle, m_plan.mount);
    m_run->execute(mover, m_options.stopAtFirstFailure, m_cancel, m_done);
    m_stage = Stage::Ran;
    // A batch that moved nothing leaves nothing to undo: the next undo takes the one before.
    using Outcome = RenameResult::Outcome;
    if (!m_journalPath.isEmpty() && m_run->count(Outcome::Done) == 0 &&
        m_run->count(Outcome::Stranded) == 0 && Journal::discard(m_journalPath))
        m_journalPath.clear();
}

const std::vector<RenameResult> &BatchJob::results() const
{
    return m_run ? m_run->results() : noResults;
}

} // namespace tolvane
