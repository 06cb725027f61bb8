#include "engine/batch/batchrun.h"

#include "platform/filemover.h"
#include "platform/quitsignal.h"
#include "platform/systemerror.h"

#include <algorithm>
#include <cerrno>

namespace tolvane {

using Outcome = RenameResult::Outcome;
using Move = PlanStep::Move;

namespace {

QString ringFailed()
{
    return QStringLiteral("与它互换名字的文件没能改名");
}

// The file under a step's source name is still the one planned: a file put there since is
// not moved in its place.
FileMover::Result checkSource(const FileMover &mover, const BatchPlan &plan, const PlanStep &step,
                              const QByteArray &source)
{
    const std::optional<FileIdentity> now = identityAt(mover.folderFd(), source);
    if (!now)
        return {false, ENOENT, systemErrorText(ENOENT)};
    if (!sameFile(plan.renames[step.rename].identity, *now, plan.stableInodes))
        return {false, EEXIST, QStringLiteral("文件在改名前被另一个文件替换了")};
    return {true, 0, {}};
}

} // namespace

BatchRun::BatchRun(const BatchPlan &plan) : m_plan(plan), m_results(plan.renames.size())
{
    for (qsizetype i = 0; i < plan.renames.size(); ++i) {
        const PlannedRename &r = plan.renames[i];
        if (r.problem != PlanProblem::None)
            m_results[i].outcome = Outcome::Refused;
        else if (r.unchanged())
            m_results[i].outcome = Outcome::Unchanged;
    }
}

QByteArray BatchRun::source(const PlanStep &step) const
{
    const PlannedRename &r = m_plan.renames[step.rename];
    return step.move == Move::FromTemporary ? m_plan.temporaryName(step.rename) : r.from;
}

QByteArray BatchRun::target(const PlanStep &step) const
{
    const PlannedRename &r = m_plan.renames[step.rename];
    return step.move == Move::ToTemporary ? m_plan.temporaryName(step.rename) : r.to;
}

void BatchRun::execute(FileMover &mover, bool stopAtFirstFailure, const std::atomic<bool> &cancel,
                       std::atomic<qsizetype> &done)
{
    const std::vector<PlanStep> &steps = m_plan.steps;
    std::vector<size_t> ring; // the moves made so far in the ring being walked
    for (size_t s = 0; s < steps.size(); ++s) {
        const PlanStep &step = steps[s];
        const bool inRing = !ring.empty();
        // A quit signal stops the batch where a cancel would.
        if (!inRing && (cancel.load(std::memory_order_relaxed) || QuitSignal::received() != 0)) {
            m_cancelled = true;
            return;
        }
        RenameResult &result = m_results[step.rename];
        const QByteArray from = source(step);
        FileMover::Result moved = checkSource(mover, m_plan, step, from);
        if (moved.ok)
            moved = mover.move(from, target(step));
        if (moved.ok) {
            if (step.move == Move::FromTemporary)
                ring.clear();
            else if (inRing || step.move == Move::ToTemporary)
                ring.push_back(s);
            if (step.move != Move::ToTemporary) {
                result.outcome = Outcome::Done;
                done.fetch_add(1, std::memory_order_relaxed);
            }
            continue;
        }
        result = {Outcome::Failed, moved.errorText};
        if (inRing || step.move == Move::ToTemporary) {
            // The rest of the ring waits for this file: put back what moved, skip the rest.
            const qsizetype first = inRing ? steps[ring.front()].rename : step.rename;
            restoreRing(mover, ring, done);
            ring.clear();
            while (!(steps[s].rename == first && steps[s].move == Move::FromTemporary)) {
                ++s;
                if (m_results[steps[s].rename].outcome == Outcome::NotRun)
                    m_results[steps[s].rename] = {Outcome::Failed, ringFailed()};
            }
        }
        if (stopAtFirstFailure)
            return;
    }
}

void BatchRun::restoreRing(FileMover &mover, const std::vector<size_t> &doneSteps,
                           std::atomic<qsizetype> &done)
{
    for (auto it = doneSteps.rbegin(); it != doneSteps.rend(); ++it) {
        const PlanStep &step = m_plan.steps[*it];
        RenameResult &result = m_results[step.rename];
        const FileMover::Result back = mover.move(target(step), source(step));
        if (step.move == Move::ToTemporary) {
            result.outcome = back.ok ? Outcome::Restored : Outcome::Stranded;
            if (!back.ok)
                result.errorText = back.errorText;
        } else if (back.ok) {
            result.outcome = Outcome::Restored;
            done.fetch_sub(1, std::memory_order_relaxed);
        }
    }
}

qsizetype BatchRun::count(Outcome outcome) const
{
    return std::count_if(m_results.cbegin(), m_results.cend(),
                         [outcome](const RenameResult &r) { return r.outcome == outcome; });
}

} // namespace tolvane
