#include "engine/batchjob.h"

#include "engine/journal.h"
#include "platform/filemover.h"

#include <QDateTime>
#include <unistd.h>

namespace tolvane {
namespace {

// Hidden, so the file list never shows a file between its two moves, and unique to the batch.
QByteArray newTemporaryStem()
{
    static std::atomic<int> counter = 0;
    return ".tolvane-" + QByteArray::number(QDateTime::currentMSecsSinceEpoch(), 36) + '-' +
           QByteArray::number(::getpid(), 36) + '-' + QByteArray::number(counter++, 36);
}

const std::vector<RenameResult> noResults;

} // namespace

BatchJob::BatchJob(const QByteArray &folder, const QList<QByteArray> &names, Namer namer,
                   Options options)
    : m_folder(folder), m_names(names), m_namer(std::move(namer)), m_options(options),
      m_stem(newTemporaryStem())
{}

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
    m_plan = BatchPlan::make(m_folder, m_names, targets, m_stem, m_ids);
    if (m_plan.folderError != 0) {
        m_stage = Stage::FolderUnreadable;
        return;
    }
    if (m_options.refuseOnProblem && m_plan.problemCount() > 0) {
        m_stage = Stage::Refused;
        return;
    }
    m_total = m_plan.moveCount();
    if (m_options.journal && m_total > 0 && !Journal::write(m_plan, &m_journalError)) {
        m_stage = Stage::JournalFailed;
        return;
    }
    m_stage = Stage::Ready;
}

void BatchJob::execute()
{
    m_run.emplace(m_plan);
    FileMover mover(m_folder);
    m_run->execute(mover, m_options.stopAtFirstFailure, m_cancel, m_done);
    m_stage = Stage::Ran;
}

const std::vector<RenameResult> &BatchJob::results() const
{
    return m_run ? m_run->results() : noResults;
}

} // namespace tolvane
