#include "engine/batch/batchplan.h"

#include "platform/folderhandle.h"
#include "platform/rawname.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace tolvane {
namespace {

PlanProblem takenBy(FolderScan::Kind kind)
{
    switch (kind) {
    case FolderScan::Kind::File:
        return PlanProblem::TakenByFile;
    case FolderScan::Kind::Folder:
        return PlanProblem::TakenByFolder;
    case FolderScan::Kind::Link:
        return PlanProblem::TakenByLink;
    case FolderScan::Kind::Other:
        break;
    }
    return PlanProblem::TakenByOther;
}

// What keeps every file of the folder where it is: known before the first move, so that a
// batch on a read-only stick is refused whole instead of failing at its first file.
PlanProblem folderProblem(int fd)
{
    struct statvfs vfs;
    if (::fstatvfs(fd, &vfs) == 0 && (vfs.f_flag & ST_RDONLY))
        return PlanProblem::ReadOnly;
    if (::faccessat(fd, ".", W_OK | X_OK, AT_EACCESS) != 0)
        return errno == EROFS ? PlanProblem::ReadOnly : PlanProblem::NoPermission;
    int flags = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & (FS_IMMUTABLE_FL | FS_APPEND_FL)))
        return PlanProblem::Immutable;
    return PlanProblem::None;
}

// An immutable or append-only file refuses to be renamed, also to root.
bool immutable(int fd, const QByteArray &name)
{
    constexpr quint64 fixed = STATX_ATTR_IMMUTABLE | STATX_ATTR_APPEND;
    struct statx st;
    return ::statx(fd, name.constData(), AT_SYMLINK_NOFOLLOW | AT_STATX_DONT_SYNC, 0, &st) == 0 &&
           (st.stx_attributes_mask & st.stx_attributes & fixed);
}

// The planning of one batch; lives only while BatchPlan::make runs.
class Planner
{
public:
    Planner(BatchPlan &plan, FolderScan &scan, int fd) : m_plan(plan), m_scan(scan), m_fd(fd) {}

    void check();
    void order();

private:
    static constexpr qsizetype none = -1;
    bool planned(qsizetype i) const { return m_plan.moves(i); }
    void findHolders();
    qsizetype holderOf(qsizetype i);
    void spreadProblems();
    void push(qsizetype i, PlanStep::Move move)
    {
        m_plan.steps.push_back({i, move});
        m_emitted[i] = true;
    }

    BatchPlan &m_plan;
    FolderScan &m_scan;
    int m_fd;
    std::vector<qsizetype> m_holder; // the batch file whose current name a rename's target is
    std::vector<qsizetype> m_waiter; // the rename waiting for this file's current name
    std::vector<bool> m_emitted;
};

void Planner::check()
{
    QList<PlannedRename> &renames = m_plan.renames;
    const PlanProblem everyFile = folderProblem(m_fd);
    for (qsizetype i = 0; i < renames.size(); ++i) {
        PlannedRename &r = renames[i];
        const std::optional<FolderScan::Entry> found = m_scan.claim(r.from, i);
        if (!found) {
            r.problem = PlanProblem::Missing;
            continue;
        }
        r.identity = found->identity;
        if (r.unchanged())
            continue;
        r.problem = nameProblem(r.to, m_scan.nameMax());
        if (r.problem == PlanProblem::None)
            r.problem = everyFile;
        if (r.problem == PlanProblem::None && immutable(m_fd, r.from))
            r.problem = PlanProblem::Immutable;
    }

    // Two files given one name both keep theirs: neither has a better claim. Where the file
    // system may fold case, names that differ only in case are one name.
    QHash<QByteArray, qsizetype> byTarget;
    byTarget.reserve(renames.size());
    for (qsizetype i = 0; i < renames.size(); ++i) {
        PlannedRename &r = renames[i];
        if (r.unchanged() ||
            (r.problem != PlanProblem::None && r.problem != PlanProblem::SameTarget))
            continue;
        const QByteArray key = m_scan.spellingKey(r.to);
        const auto first = byTarget.constFind(key);
        if (first == byTarget.constEnd()) {
            byTarget.insert(key, i);
            continue;
        }
        r.problem = PlanProblem::SameTarget;
        renames[*first].problem = PlanProblem::SameTarget;
    }
    findHolders();
    spreadProblems();
}

void Planner::findHolders()
{
    const qsizetype n = m_plan.renames.size();
    m_holder.assign(n, none);
    m_waiter.assign(n, none);
    for (qsizetype i = 0; i < n; ++i) {
        if (!planned(i))
            continue;
        const qsizetype holder = holderOf(i);
        if (holder == none || m_plan.renames[i].problem != PlanProblem::None)
            continue;
        if (m_waiter[holder] != none) {
            m_plan.renames[i].problem = PlanProblem::TakenByFile;
            continue;
        }
        m_holder[i] = holder;
        m_waiter[holder] = i;
    }
}

// The batch file now holding rename i's new name, or none when the name is free. A name held
// by anything else marks the rename's problem.
qsizetype Planner::holderOf(qsizetype i)
{
    PlannedRename &r = m_plan.renames[i];
    if (const std::optional<FolderScan::Entry> found = m_scan.find(r.to)) {
        if (found->owner >= 0)
            return found->owner;
        r.problem = takenBy(found->kind);
        return none;
    }
    // Another spelling of a listed name finds that entry where the file system folds case;
    // when the entry is the file itself, this is a rename of its spelling only.
    if (m_scan.foldsCase()) {
        const QByteArray alias = m_scan.aliasOf(r.to);
        if (alias.isEmpty())
            return none;
        const std::optional<FolderScan::Entry> entry = m_scan.find(alias);
        if (entry && entry->owner >= 0)
            return entry->owner;
        r.problem = entry ? takenBy(entry->kind) : PlanProblem::TakenByFile;
    }
    return none;
}

// A file that keeps its name keeps it from the rename waiting for it, and so on down the chain.
void Planner::spreadProblems()
{
    const qsizetype n = m_plan.renames.size();
    std::vector<qsizetype> stuck;
    for (qsizetype i = 0; i < n; ++i) {
        if (!planned(i))
            stuck.push_back(i);
    }
    // Renames waiting on a file that stays were linked only if they had no problem yet.
    while (!stuck.empty()) {
        const qsizetype j = stuck.back();
        stuck.pop_back();
        const qsizetype w = m_waiter[j];
        if (w == none || w == j || m_plan.renames[w].problem != PlanProblem::None)
            continue;
        m_plan.renames[w].problem = PlanProblem::TakenByFile;
        stuck.push_back(w);
    }
}

void Planner::order()
{
    const qsizetype n = m_plan.renames.size();
    m_emitted.assign(n, false);
    // Chains: a rename whose name is free goes first, then the one waiting for its old name.
    for (qsizetype i = 0; i < n; ++i) {
        if (!planned(i) || m_holder[i] != none)
            continue;
        for (qsizetype at = i; at != none && !m_emitted[at]; at = m_waiter[at])
            push(at, PlanStep::Move::Direct);
    }
    // What is left are rings (a file whose new name finds itself is a ring of one): one file
    // steps aside to a temporary name, the others follow round, then it takes its name.
    for (qsizetype i = 0; i < n; ++i) {
        if (!planned(i) || m_emitted[i])
            continue;
        push(i, PlanStep::Move::ToTemporary);
        for (qsizetype at = m_waiter[i]; at != i; at = m_waiter[at])
            push(at, PlanStep::Move::Direct);
        m_plan.steps.push_back({i, PlanStep::Move::FromTemporary});
    }
}

} // namespace

PlanProblem nameProblem(const QByteArray &name, long nameMax)
{
    if (isSingleName(name))
        return name.size() > nameMax ? PlanProblem::TooLong : PlanProblem::None;
    if (name.isEmpty())
        return PlanProblem::Empty;
    if (name.contains('\0'))
        return PlanProblem::Nul;
    return name.contains('/') ? PlanProblem::Slash : PlanProblem::DotName;
}

QByteArray temporaryName(const QByteArray &stem, qsizetype id)
{
    return stem + '-' + QByteArray::number(id);
}

bool isTemporaryStem(const QByteArray &stem)
{
    static const QByteArray start = ".tolvane-";
    return stem.startsWith(start) && stem.size() > start.size() && stem.size() <= 64 &&
           std::all_of(stem.cbegin() + start.size(), stem.cend(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
           });
}

BatchPlan BatchPlan::make(const FolderHandle &folder, const QList<QByteArray> &from,
                          const QList<QByteArray> &to, const QByteArray &temporaryStem,
                          const QList<qsizetype> &temporaryIds,
                          const std::optional<MountPlace> &mount)
{
    BatchPlan plan;
    plan.folder = folder.path();
    plan.temporaryStem = temporaryStem;
    plan.temporaryIds = temporaryIds;
    plan.renames.reserve(from.size());
    for (qsizetype i = 0; i < from.size(); ++i)
        plan.renames.append({from[i], to[i], {}, PlanProblem::None});
    if (folder.error() != 0) {
        plan.folderError = folder.error();
        return plan;
    }
    FolderScan scan(folder.fd(), from.size(), mount);
    if (scan.error() != 0) {
        plan.folderError = scan.error();
        return plan;
    }
    plan.stableInodes = scan.stableInodes();
    plan.foldsCase = scan.foldsCase();
    plan.mount = scan.mount();
    Planner planner(plan, scan, folder.fd());
    planner.check();
    planner.order();
    return plan;
}

qsizetype BatchPlan::problemCount() const
{
    return std::count_if(renames.cbegin(), renames.cend(),
                         [](const PlannedRename &r) { return r.problem != PlanProblem::None; });
}

qsizetype BatchPlan::moveCount() const
{
    return std::count_if(renames.cbegin(), renames.cend(), [](const PlannedRename &r) {
        return r.problem == PlanProblem::None && !r.unchanged();
    });
}

QString BatchPlan::checkInvariants() const
{
    const qsizetype n = renames.size();
    const auto key = [this](const QByteArray &name) { return spellingKey(name, foldsCase); };
    QSet<QByteArray> held, targets, temporaries;
    for (qsizetype i = 0; i < n; ++i) {
        if (renames[i].problem != PlanProblem::Missing)
            held.insert(key(renames[i].from));
        if (!moves(i))
            continue;
        if (nameProblem(renames[i].to, LONG_MAX) != PlanProblem::None)
            return QStringLiteral("%1 is given a name outside the folder").arg(i);
        if (targets.contains(key(renames[i].to)))
            return QStringLiteral("%1 is given a name another file gets too").arg(i);
        targets.insert(key(renames[i].to));
        temporaries.insert(key(temporaryName(i)));
    }
    if (targets.intersects(temporaries))
        return QStringLiteral("a temporary name is a new name");
    std::vector<int> direct(static_cast<size_t>(n)), aside(direct), back(direct);
    for (const PlanStep &step : steps) {
        const qsizetype i = step.rename;
        if (i < 0 || i >= n || !moves(i))
            return QStringLiteral("a step moves %1, which keeps its name").arg(i);
        const size_t at = size_t(i);
        int &count = step.move == PlanStep::Move::Direct        ? direct[at]
                     : step.move == PlanStep::Move::ToTemporary ? aside[at]
                                                                : back[at];
        if (++count > 1 ||
            (step.move == PlanStep::Move::FromTemporary) != (aside[at] && back[at]) ||
            (direct[at] && aside[at]))
            return QStringLiteral("%1 is moved out of turn").arg(i);
        const QByteArray source =
            key(step.move == PlanStep::Move::FromTemporary ? temporaryName(i) : renames[i].from);
        const QByteArray target =
            key(step.move == PlanStep::Move::ToTemporary ? temporaryName(i) : renames[i].to);
        if (!held.remove(source))
            return QStringLiteral("%1 is moved from a name it does not hold").arg(i);
        if (held.contains(target))
            return QStringLiteral("%1 is moved onto a name still held").arg(i);
        held.insert(target);
    }
    for (qsizetype i = 0; i < n; ++i) {
        const size_t at = size_t(i);
        if (moves(i) && !(direct[at] == 1 || (aside[at] == 1 && back[at] == 1)))
            return QStringLiteral("%1 is never moved to its new name").arg(i);
    }
    return {};
}

} // namespace tolvane
