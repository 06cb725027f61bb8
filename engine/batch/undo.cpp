#include "engine/batch/undo.h"

#include "engine/batch/batchreport.h"
#include "engine/batch/folderscan.h"
#include "platform/mountplace.h"
#include "platform/rawname.h"

namespace tolvane {
namespace {

QString gone()
{
    return QStringLiteral("文件已被删除、改名或替换");
}

// The folder at a path, when it is there and is the recorded one: on the recorded file system
// (a journal of the first format names none) at the recorded place inside it.
std::shared_ptr<const FolderHandle> openIfSame(const QByteArray &path, const JournalRecord &record)
{
    std::shared_ptr<const FolderHandle> handle = FolderHandle::open(path);
    if (handle->error() != 0)
        return nullptr;
    if (record.fileSystem.isEmpty())
        return handle;
    const std::optional<MountPlace> mount = mountPlaceOf(handle->fd());
    if (mount && mount->fileSystem == record.fileSystem &&
        mount->insideFileSystem(handle->path()) == record.insideFileSystem)
        return handle;
    return nullptr;
}

} // namespace

// The recorded path first; then, for a file system known by a name of its own, wherever it is
// mounted now (a stick in another slot gets another mount point). A name shared by several
// file systems (a tmpfs) is followed only where it leads to one folder.
bool Undo::findFolder()
{
    QByteArrayList looked{m_record.folder};
    m_handle = openIfSame(m_record.folder, m_record);
    if (!m_handle && !m_record.fileSystem.isEmpty()) {
        const QList<MountPlace> mounts = mountsOf(m_record.fileSystem);
        const bool named = !m_record.fileSystem.startsWith("source:") || mounts.size() == 1;
        for (const MountPlace &mount : mounts) {
            const QByteArray path = mount.pathOf(m_record.insideFileSystem);
            if (!named || path.isEmpty() || looked.contains(path))
                continue;
            looked.append(path);
            if ((m_handle = openIfSame(path, m_record)))
                break;
        }
    }
    if (m_handle) {
        m_folder = m_handle->path();
        return true;
    }
    QStringList places;
    for (const QByteArray &path : looked)
        places.append(QStringLiteral("【%1】").arg(displayName(path)));
    m_error =
        QStringLiteral("找不到改名时的文件夹，找过：%1。如果它在移动存储设备上，请插上后再撤销。")
            .arg(places.join(QStringLiteral("、")));
    return false;
}

void Undo::prepare()
{
    Expected<std::optional<JournalRecord>> latest = Journal::latest();
    if (!latest) {
        m_error = latest.error();
        m_stage = Stage::JournalUnreadable;
        return;
    }
    if (!*latest) {
        m_stage = Stage::NothingToUndo;
        return;
    }
    m_record = std::move(**latest);
    m_folder = m_record.folder;
    if (!findFolder()) {
        m_stage = Stage::FolderNotFound;
        return;
    }

    QList<QByteArray> from, to;
    QList<qsizetype> ids;
    {
        const FolderScan scan(m_handle->fd(), m_record.entries.size());
        const auto isThere = [&](const QByteArray &name, const FileIdentity &identity) {
            const std::optional<FolderScan::Entry> found = scan.find(name);
            return found && sameFile(identity, found->identity, m_record.stableInodes);
        };
        for (qsizetype e = 0; e < m_record.entries.size(); ++e) {
            const JournalRecord::Entry &entry = m_record.entries[e];
            const QByteArray temporary = temporaryName(m_record.temporaryStem, entry.id);
            QByteArray at;
            if (isThere(entry.to, entry.identity))
                at = entry.to;
            else if (isThere(temporary, entry.identity))
                at = temporary;
            else if (isThere(entry.from, entry.identity))
                m_back.append(entry);
            else if (!m_record.stableInodes && scan.find(entry.to))
                m_lost.append(
                    {entry, QStringLiteral("文件在改名后被改动过（大小或修改时间不同）")});
            else
                m_lost.append({entry, gone()});
            if (at.isEmpty())
                continue;
            from.append(at);
            to.append(entry.from);
            ids.append(entry.id);
            m_moved.append(e);
        }
    }
    m_job = std::make_unique<BatchJob>(
        m_handle, from, [to](qsizetype i, const QByteArray &) { return to[i]; },
        BatchJob::Options{.refuseOnProblem = false, .stopAtFirstFailure = false, .journal = false});
    m_job->useTemporaries(m_record.temporaryStem, ids);
    m_job->prepare();
    m_stage = Stage::Ready;
}

void Undo::execute()
{
    if (m_stage != Stage::Ready || m_job->stage() != BatchJob::Stage::Ready)
        return;
    m_job->execute();
    m_stage = Stage::Ran;
    // Files that did not get their old names back stay undoable; lost ones cannot come back.
    QList<JournalRecord::Entry> left;
    const std::vector<RenameResult> &results = m_job->results();
    for (qsizetype i = 0; i < m_moved.size(); ++i)
        if (results[size_t(i)].outcome != RenameResult::Outcome::Done)
            left.append(m_record.entries[m_moved[i]]);
    m_left = left.size();
    if (const Expected<Done> kept = Journal::keepOnly(m_record, left); !kept)
        m_error = kept.error();
}

void Undo::cancel()
{
    if (m_job)
        m_job->cancel();
}

QStringList Undo::problemLines() const
{
    QStringList lines;
    for (const Lost &lost : m_lost)
        lines.append(QStringLiteral("“%1”→“%2”：%3")
                         .arg(BatchReport::shownName(lost.entry.to),
                              BatchReport::shownName(lost.entry.from), lost.reason));
    if (m_job)
        lines += BatchReport::problemLines(*m_job);
    return lines;
}

QString Undo::leftText() const
{
    if (m_left == 0)
        return {};
    return QStringLiteral("还有 %1 个文件没有恢复原名，它们留在改名记录中，可以以后再撤销。")
        .arg(m_left);
}

} // namespace tolvane
