#include "engine/naming/serialrename.h"

#include "engine/batch/batchreport.h"
#include "engine/batch/resultlist.h"
#include "engine/naming/serialformat.h"
#include "engine/naming/serialnamer.h"
#include "platform/messageboxes.h"
#include "platform/rawname.h"

#include <cmath>

namespace tolvane {
namespace {

const QString incomplete = QStringLiteral("没填完！");

QString nulInPattern()
{
    return QStringLiteral("新文件名中不能含有空字符，没有改名任何文件。");
}

} // namespace

QString slashInPattern()
{
    return QStringLiteral("新文件名中不能含有“/”：文件只在原来的文件夹中改名，没有改名任何文件。");
}

QString serialRenameRefusal(const QByteArray &pattern, const QString &startText)
{
    if (startText.isEmpty() || pattern.isEmpty())
        return incomplete;
    // A start too large for a number would otherwise be written as "Infinity" into every name.
    if (!std::isfinite(StartValue(startText)))
        return QStringLiteral("起始编号“%1”超出了能表示的数字范围，没有改名任何文件。")
            .arg(startText);
    // A NUL byte would end the name early in the system's calls.
    if (pattern.contains('\0'))
        return nulInPattern();
    if (pattern.contains('/'))
        return slashInPattern();
    return {};
}

bool refusedForEachName(const QString &refusal)
{
    return refusal.isEmpty() || refusal == slashInPattern() || refusal == nulInPattern();
}

BatchJob::Namer serialNamer(const QByteArray &pattern, const QString &startText)
{
    const SerialNamer namer(pattern, StartValue(startText),
                            SerialFormatFor(startTextLength(startText)));
    return [namer](qsizetype i, const QByteArray &name) { return namer.newName(i, name); };
}

std::unique_ptr<BatchJob> startSerialRename(const QByteArray &pattern, const QString &startText,
                                            const QByteArray &folderPath,
                                            const QList<QByteArray> &fileNames, ResultList &results,
                                            MessageBoxes &messages, BatchState &state)
{
    if (const QString text = serialRenameRefusal(pattern, startText); !text.isEmpty()) {
        // Only a form left half filled in is a notice; the rest are failures.
        if (text == incomplete)
            messages.notice(text);
        else
            messages.failure(text);
        return nullptr;
    }

    results.clear();
    state.StartTextLength = startTextLength(startText);
    state.SerialFormat = SerialFormatFor(state.StartTextLength);
    return std::make_unique<BatchJob>(
        folderPath, fileNames, serialNamer(pattern, startText),
        BatchJob::Options{.refuseOnProblem = true, .stopAtFirstFailure = true});
}

void listRenamed(const BatchJob &job, ResultList &results, const QHash<qsizetype, QString> &notes)
{
    const QList<PlannedRename> &renames = job.plan().renames;
    const std::vector<RenameResult> &outcomes = job.results();
    for (size_t i = 0; i < outcomes.size(); ++i) {
        const RenameResult::Outcome outcome = outcomes[i].outcome;
        if (outcome == RenameResult::Outcome::Done || outcome == RenameResult::Outcome::Unchanged)
            results.append(notes.value(qsizetype(i), displayName(renames[qsizetype(i)].to)));
    }
}

void finishSerialRename(const BatchJob &job, ResultList &results, MessageBoxes &messages)
{
    if (const QString text = BatchReport::notStarted(job); !text.isEmpty()) {
        messages.failure(text);
        return;
    }
    if (job.stage() == BatchJob::Stage::Refused) {
        messages.failure(
            BatchReport::listed(QStringLiteral("下列文件不能改成新名字，所以没有改名任何文件："),
                                BatchReport::problemLines(job)));
        return;
    }
    listRenamed(job, results);
    const QStringList problems = BatchReport::problemLines(job);
    if (job.cancelled())
        messages.notice(QStringLiteral("改名已取消。") + BatchReport::progress(job));
    else if (!problems.isEmpty())
        messages.failure(BatchReport::listed(
            QStringLiteral("改名已停止。") + BatchReport::progress(job), problems));
}

void RunSerialRename(const QByteArray &pattern, const QString &startText,
                     const QByteArray &folderPath, const QList<QByteArray> &fileNames,
                     ResultList &results, MessageBoxes &messages, BatchState &state)
{
    if (const auto job = startSerialRename(pattern, startText, folderPath, fileNames, results,
                                           messages, state)) {
        job->run();
        finishSerialRename(*job, results, messages);
    }
}

} // namespace tolvane
