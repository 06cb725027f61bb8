#pragma once

#include "engine/batch/batchjob.h"

#include <QString>
#include <QStringList>

namespace tolvane {

// What the user is told after a batch, in Chinese: one line per file that kept its name
// (file, intended name, reason), the first 20 of them and then how many more.
namespace BatchReport {

QString reason(PlanProblem problem);
// A name as messages show it: escaped, and cut in the middle when very long.
QString shownName(const QByteArray &name);
// Why the file at that place of the plan kept its name; empty when it did not (yet).
QString fileProblem(const BatchJob &job, qsizetype index);
// The lines of the files that kept their names: plan problems and failed moves.
// folder, when given, is the job's folder below a tree's root: names are shown as paths below it.
QStringList problemLines(const BatchJob &job, const QByteArray &folder = {});
// The lines joined under a heading, cut after the first 20.
QString listed(const QString &heading, const QStringList &lines);
// The folder could not be read, or the journal not written: nothing was moved.
QString notStarted(const BatchJob &job);
// "k of N renamed" after a cancelled or stopped batch.
QString progress(const BatchJob &job);

} // namespace BatchReport
} // namespace tolvane
