#include "engine/undo.h"

#include "engine/batchreport.h"
#include "engine/folderscan.h"
#include "platform/rawname.h"

namespace tolvane {

void Undo::prepare()
{
    std::optional<JournalRecord> record = Journal::latest(&m_error);
    if (!record) {
        m_stage = m_error.isEmpty() ? Stage::NothingToUndo : Stage::JournalUnreadable;
        return;
    }
    m_record = std::move(*record);

    QList<QByteArray> from, to;
    QList<qsizetype> ids;
    {
        const FolderScan scan(m_record.folder);
        const auto isThere = [&scan](const QByteArray &name, const FileIdentity &identity) {
            const std::optional<FolderScan::Entry> found = scan.find(name);
            return found && found->identity == identity;
        };
        for (const JournalRecord::Entry &entry : std::as_const(m_record.entries)) {
            const QByteArray temporary =
                m_record.temporaryStem + '-' + QByteArray::number(entry.id);
            QByteArray at;
            if (isThere(entry.to, entry.identity))
                at = entry.to;
            else if (isThere(temporary, entry.identity))
                at = temporary;
            else if (!isThere(entry.from, entry.identity))
                m_lost.append(entry);
            if (at.isEmpty())
                continue; // already at its old name, or lost
            from.append(at);
            to.append(entry.from);
            ids.append(entry.id);
        }
    }
    m_job = std::make_unique<BatchJob>(
        m_record.folder, from, [to](qsizetype i, const QByteArray &) { return to[i]; },
        BatchJob::Options{.refuseOnProblem = false, .stopAtFirstFailure = false, .journal = false});
    m_job->useTemporaries(m_record.temporaryStem, ids);
    m_job->prepare();
    m_stage = Stage::Ready;
}

void Undo::execute()
{
    if (m_stage != Stage::Ready)
        return;
    // An undo that could not reach its folder, or was cancelled, stays to be done again.
    if (m_job->stage() != BatchJob::Stage::Ready)
        return;
    m_job->execute();
    if (!m_job->cancelled())
        Journal::markUndone(m_record, &m_error);
    m_stage = Stage::Ran;
}

void Undo::cancel()
{
    if (m_job)
        m_job->cancel();
}

} // namespace tolvane

namespace tolvane {

QString Undo::lostReason()
{
    return QStringLiteral("文件已被删除、改名或替换");
}

QStringList Undo::problemLines() const
{
    QStringList lines;
    for (const JournalRecord::Entry &entry : m_lost)
        lines.append(QStringLiteral("“%1”→“%2”：%3")
                         .arg(displayName(entry.to), displayName(entry.from), lostReason()));
    if (m_job)
        lines += BatchReport::problemLines(*m_job);
    return lines;
}

} // namespace tolvane
