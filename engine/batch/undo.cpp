#include "engine/batch/undo.h"

#include "engine/batch/batchreport.h"
#include "engine/batch/folderscan.h"
#include "engine/batch/treewalk.h"
#include "platform/mountplace.h"
#include "platform/rawname.h"

#include <algorithm>

namespace tolvane {
namespace {

QString gone()
{
    return QStringLiteral("文件已被删除、改名或替换");
}

// An entry as reported: its names as paths below the batch's folder.
JournalRecord::Entry shownBelow(const QByteArray &path, JournalRecord::Entry entry)
{
    entry.from = pathBelow(path, entry.from);
    entry.to = pathBelow(path, entry.to);
    return entry;
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

std::shared_ptr<const FolderHandle> Undo::locate(const QByteArray &path,
                                                 const QList<QList<qsizetype>> &byBlock,
                                                 const QHash<QByteArray, qsizetype> &index) const
{
    std::shared_ptr<const FolderHandle> at = m_handle;
    QByteArray parent;
    for (const QByteArray &name : path.split('/')) {
        const JournalRecord::Entry *entry = nullptr;
        for (const qsizetype e : byBlock.value(index.value(parent, -1)))
            if (m_record.entries[e].from == name)
                entry = &m_record.entries[e];
        QByteArrayList names{name};
        if (entry)
            names = {entry->to, temporaryName(m_record.temporaryStem, entry->id), entry->from};
        std::shared_ptr<const FolderHandle> next;
        for (const QByteArray &candidate : names) {
            const std::optional<FileIdentity> found = identityAt(at->fd(), candidate);
            if (!found || (entry && !sameFile(entry->identity, *found, m_record.stableInodes)))
                continue;
            next = FolderHandle::openBeneath(*at, candidate);
            if (next->error() == 0)
                break;
            next.reset();
        }
        if (!next)
            return nullptr;
        at = std::move(next);
        parent = pathBelow(parent, name);
    }
    return at;
}

void Undo::planBlock(const QByteArray &path, std::shared_ptr<const FolderHandle> handle,
                     const QList<qsizetype> &entries)
{
    QList<QByteArray> from, to;
    QList<qsizetype> ids, moved;
    {
        const FolderScan scan(handle->fd(), entries.size());
        const auto isThere = [&](const QByteArray &name, const FileIdentity &identity) {
            const std::optional<FolderScan::Entry> found = scan.find(name);
            return found && sameFile(identity, found->identity, m_record.stableInodes);
        };
        for (const qsizetype e : entries) {
            const JournalRecord::Entry &entry = m_record.entries[e];
            const JournalRecord::Entry shown = shownBelow(path, entry);
            const QByteArray temporary = temporaryName(m_record.temporaryStem, entry.id);
            QByteArray at;
            if (isThere(entry.to, entry.identity))
                at = entry.to;
            else if (isThere(temporary, entry.identity))
                at = temporary;
            else if (isThere(entry.from, entry.identity))
                m_back.append(shown);
            else if (!m_record.stableInodes && scan.find(entry.to))
                m_lost.append(
                    {shown, QStringLiteral("文件在改名后被改动过（大小或修改时间不同）")});
            else
                m_lost.append({shown, gone()});
            if (at.isEmpty())
                continue;
            from.append(at);
            to.append(entry.from);
            ids.append(entry.id);
            moved.append(e);
        }
    }
    auto job = std::make_unique<BatchJob>(
        std::move(handle), from, [to](qsizetype i, const QByteArray &) { return to[i]; },
        BatchJob::Options{.refuseOnProblem = false, .stopAtFirstFailure = false, .journal = false});
    job->useTemporaries(m_record.temporaryStem, ids);
    job->prepare();
    m_blocks.push_back({path, std::move(job), moved});
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
    const QByteArrayList paths =
        m_record.blocks.isEmpty() ? QByteArrayList{QByteArray()} : m_record.blocks;
    QList<QList<qsizetype>> byBlock(paths.size());
    for (qsizetype e = 0; e < m_record.entries.size(); ++e)
        byBlock[m_record.entries[e].block].append(e);
    QHash<QByteArray, qsizetype> index;
    for (qsizetype b = 0; b < paths.size(); ++b)
        index.insert(paths[b], b);
    // Parents first: the reverse of the moves.
    for (qsizetype b = paths.size() - 1; b >= 0; --b) {
        if (byBlock[b].isEmpty())
            continue;
        if (std::shared_ptr<const FolderHandle> handle =
                paths[b].isEmpty() ? m_handle : locate(paths[b], byBlock, index)) {
            planBlock(paths[b], std::move(handle), byBlock[b]);
            continue;
        }
        for (const qsizetype e : byBlock[b])
            m_lost.append({shownBelow(paths[b], m_record.entries[e]),
                           QStringLiteral("它所在的文件夹已被删除、改名或移走")});
    }
    if (m_blocks.empty())
        planBlock({}, m_handle, {});
    m_stage = Stage::Ready;
}

void Undo::execute()
{
    if (m_stage != Stage::Ready ||
        std::any_of(m_blocks.cbegin(), m_blocks.cend(),
                    [](const Block &b) { return b.job->stage() != BatchJob::Stage::Ready; }))
        return;
    for (const Block &block : m_blocks) {
        m_running = block.job.get();
        if (m_cancel)
            break;
        block.job->execute();
    }
    m_stage = Stage::Ran;
    // Files that did not get their old names back stay undoable; lost ones cannot come back.
    QList<qsizetype> left;
    for (const Block &block : m_blocks) {
        const std::vector<RenameResult> &results = block.job->results();
        for (qsizetype i = 0; i < block.moved.size(); ++i)
            if (size_t(i) >= results.size() ||
                results[size_t(i)].outcome != RenameResult::Outcome::Done)
                left.append(block.moved[i]);
    }
    // In the journal's order, so that each folder's entries stay together.
    std::sort(left.begin(), left.end());
    QList<JournalRecord::Entry> entries;
    for (const qsizetype e : left)
        entries.append(m_record.entries[e]);
    m_left = entries.size();
    if (const Expected<Done> kept = Journal::keepOnly(m_record, entries); !kept)
        m_error = kept.error();
}

void Undo::cancel()
{
    m_cancel = true;
    if (BatchJob *running = m_running)
        running->cancel();
}

bool Undo::cancelled() const
{
    return m_cancel || sumOverJobs(m_blocks, [](const BatchJob &job) { return job.cancelled(); });
}

qsizetype Undo::count() const
{
    return sumOverJobs(m_blocks, [](const BatchJob &job) { return job.plan().moveCount(); });
}

qsizetype Undo::done() const
{
    return sumOverJobs(m_blocks, [](const BatchJob &job) { return job.done(); });
}

qsizetype Undo::total() const
{
    return sumOverJobs(m_blocks, [](const BatchJob &job) { return job.total(); });
}

QStringList Undo::problemLines() const
{
    QStringList lines;
    for (const Lost &lost : m_lost)
        lines.append(QStringLiteral("“%1”→“%2”：%3")
                         .arg(BatchReport::shownName(lost.entry.to),
                              BatchReport::shownName(lost.entry.from), lost.reason));
    for (const Block &block : m_blocks)
        lines += BatchReport::problemLines(*block.job, block.path);
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
