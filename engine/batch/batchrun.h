#pragma once

#include "engine/batch/batchplan.h"

#include <QString>
#include <atomic>
#include <vector>

namespace tolvane {

class FileMover;

// What became of one file of a batch.
struct RenameResult
{
    enum class Outcome {
        NotRun,    // planned but not reached (the batch was cancelled or stopped)
        Refused,   // the plan found a problem: the file keeps its name
        Unchanged, // already had its new name
        Done,
        Failed,   // its move failed: it keeps its name
        Restored, // went back to its old name with the ring it was in, after a failure there
        Stranded, // left at its temporary name: its way back failed too
    };
    Outcome outcome = Outcome::NotRun;
    QString errorText;
};

// Makes the moves of a plan, in its order, each through the no-replace mover.
class BatchRun
{
public:
    explicit BatchRun(const BatchPlan &plan);

    // A failure stops the batch when asked; otherwise the moves that do not depend on the
    // failed one go on. Cancel, and a quit signal, are looked at before each move, never while a
    // file is at its temporary name. done counts the files that have their new names.
    void execute(FileMover &mover, bool stopAtFirstFailure, const std::atomic<bool> &cancel,
                 std::atomic<qsizetype> &done);

    const std::vector<RenameResult> &results() const { return m_results; }
    bool cancelled() const { return m_cancelled; }
    qsizetype count(RenameResult::Outcome outcome) const;

private:
    QByteArray source(const PlanStep &step) const;
    QByteArray target(const PlanStep &step) const;
    // Puts a ring's moves back, newest first, after one of them failed.
    void restoreRing(FileMover &mover, const std::vector<size_t> &doneSteps,
                     std::atomic<qsizetype> &done);

    const BatchPlan &m_plan;
    std::vector<RenameResult> m_results;
    bool m_cancelled = false;
};

} // namespace tolvane
