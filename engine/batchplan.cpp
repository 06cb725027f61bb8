#include "engine/batchplan.h"

#include <QHash>
#include <QString>
#include <algorithm>
#include <climits>

namespace tolvane {
namespace {

QByteArray insideFolder(const QByteArray &name)
{
    qsizetype i = 0;
    while (i < name.size() && name[i] == '/')
        ++i;
    return name.mid(i);
}

PlanProblem nameProblem(const QByteArray &name, long nameMax)
{
    if (name.isEmpty() || name.endsWith('/'))
        return PlanProblem::Empty;
    if (name.contains('\0'))
        return PlanProblem::Nul;
    const qsizetype lastStart = name.lastIndexOf('/') + 1;
    const QByteArrayView last = QByteArrayView(name).sliced(lastStart);
    if (last == "." || last == "..")
        return PlanProblem::DotName;
    // The system takes no longer path, also relative to the folder; its lookups would fail and
    // make the name's folder look missing.
    if (name.size() >= PATH_MAX)
        return PlanProblem::TooLong;
    for (qsizetype start = 0; start < name.size();) {
        qsizetype end = name.indexOf('/', start);
        if (end < 0)
            end = name.size();
        if (end - start > nameMax)
            return PlanProblem::TooLong;
        start = end + 1;
    }
    return PlanProblem::None;
}

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

// The planning of one batch; lives only while BatchPlan::make runs.
class Planner
{
public:
    Planner(BatchPlan &plan, FolderScan &scan) : m_plan(plan), m_scan(scan) {}

    void check();
    void order();

private:
    static constexpr qsizetype none = -1;
    bool planned(qsizetype i) const
    {
        const PlannedRename &r = m_plan.renames[i];
        return r.problem == PlanProblem::None && !r.unchanged();
    }
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
    std::vector<qsizetype> m_holder; // the batch file whose current name a rename's target is
    std::vector<qsizetype> m_waiter; // the rename waiting for this file's current name
    std::vector<bool> m_emitted;
};

void Planner::check()
{
    QList<PlannedRename> &renames = m_plan.renames;
    for (qsizetype i = 0; i < renames.size(); ++i) {
        PlannedRename &r = renames[i];
        const std::optional<FolderScan::Entry> found = m_scan.claim(r.from, i);
        if (!found) {
            r.problem = PlanProblem::Missing;
            continue;
        }
        r.identity = found->identity;
        if (!r.unchanged())
            r.problem = nameProblem(r.to, m_scan.nameMax());
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
        const QByteArray key =
            m_scan.foldsCase() ? QString::fromUtf8(r.to).toCaseFolded().toUtf8() : r.to;
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
    if (const qsizetype slash = r.to.lastIndexOf('/'); slash >= 0) {
        const auto parent = m_scan.find(r.to.left(slash));
        if (!parent || parent->kind != FolderScan::Kind::Folder)
            r.problem = PlanProblem::NoFolder;
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

BatchPlan BatchPlan::make(const QByteArray &folder, const QList<QByteArray> &from,
                          const QList<QByteArray> &to, const QByteArray &temporaryStem,
                          const QList<qsizetype> &temporaryIds)
{
    BatchPlan plan;
    plan.folder = folder;
    plan.temporaryStem = temporaryStem;
    plan.temporaryIds = temporaryIds;
    plan.renames.reserve(from.size());
    for (qsizetype i = 0; i < from.size(); ++i)
        plan.renames.append({from[i], insideFolder(to[i]), {}, PlanProblem::None});

    FolderScan scan(folder, from.size());
    if (scan.error() != 0) {
        plan.folderError = scan.error();
        return plan;
    }
    Planner planner(plan, scan);
    planner.check();
    planner.order();
    return plan;
}

QByteArray BatchPlan::temporaryName(qsizetype rename) const
{
    return temporaryStem + '-' + QByteArray::number(temporaryId(rename));
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

} // namespace tolvane
