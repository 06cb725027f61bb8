#include "engine/conversion/simplifyrename.h"

#include "engine/batch/batchreport.h"
#include "engine/batch/resultlist.h"
#include "engine/conversion/ftoj.h"
#include "engine/conversion/namelanguage.h"
#include "engine/conversion/simplifier.h"
#include "engine/naming/basename.h"
#include "engine/naming/serialrename.h"
#include "platform/folderhandle.h"
#include "platform/messageboxes.h"
#include "platform/rawname.h"
#include "platform/utf8.h"

namespace tolvane {
namespace {

bool dictionariesReady(MessageBoxes &messages, ConversionProfile profile)
{
    const QString problem = conversionRefusal(profile);
    if (!problem.isEmpty())
        messages.failure(problem);
    return problem.isEmpty();
}

bool ask(MessageBoxes &messages, const QString &text)
{
    return messages.askYesNo(QStringLiteral("转换"), text);
}

const QString leftAlone = QStringLiteral("下列文件没有转换为简体，保持原名：");

BatchJob::Options conversion()
{
    return {.refuseOnProblem = false, .stopAtFirstFailure = false};
}

} // namespace

QString conversionRefusal(ConversionProfile profile)
{
    // Without the dictionaries every name would come back unchanged and look converted.
    const Simplifier &simplifier = Simplifier::shared(profile);
    if (simplifier.isReady())
        return {};
    return QStringLiteral("无法载入繁简转换词典，没有转换任何文件：%1").arg(simplifier.errorText());
}

namespace {

QByteArray simplifiedRuns(const QByteArray &name, ConversionProfile profile)
{
    const Simplifier &simplifier = Simplifier::shared(profile);
    if (isValidUtf8(name))
        return simplifier.simplify(name);
    // Only the runs of valid UTF-8 are text: every other byte stays as it is.
    QByteArray out;
    out.reserve(name.size());
    for (qsizetype at = 0; at < name.size();) {
        qsizetype end = at;
        while (end < name.size()) {
            const int n = utf8SequenceLength(name.constData() + end, name.size() - end);
            if (n == 0)
                break;
            end += n;
        }
        if (end > at)
            out += simplifier.simplify(name.mid(at, end - at));
        if (end < name.size())
            out += name[end++];
        at = end;
    }
    return out;
}

} // namespace

QByteArray simplifiedFileName(const QByteArray &name, ConversionProfile profile)
{
    // Converting its kanji or hanja would leave a name in no language.
    if (nameLanguage(name) != NameLanguage::Other)
        return name;
    return simplifiedRuns(name, profile);
}

QString simplifiedText(const QString &text, ConversionProfile profile)
{
    // A lone surrogate has no UTF-8 form; such a text is left as it is.
    if (!text.isValidUtf16())
        return text;
    return QString::fromUtf8(simplifiedFileName(text.toUtf8(), profile));
}

BatchJob::Namer folderConversionNamer(ConversionProfile profile)
{
    return
        [profile](qsizetype, const QByteArray &name) { return simplifiedFileName(name, profile); };
}

QString leftAloneWhy(const QByteArray &name, ConversionProfile profile)
{
    const QString reason = leftAloneReason(nameLanguage(name));
    return !reason.isEmpty() && simplifiedRuns(name, profile) != name ? reason : QString();
}

namespace {

QString leftAloneLine(const QByteArray &name, const QString &reason)
{
    return QStringLiteral("“%1”：%2").arg(BatchReport::shownName(name), reason);
}

} // namespace

QList<LeftAlone> leftAloneFiles(const BatchJob &job, ConversionProfile profile)
{
    QList<LeftAlone> files;
    const QList<PlannedRename> &renames = job.plan().renames;
    for (qsizetype i = 0; i < renames.size(); ++i)
        if (renames[i].problem == PlanProblem::None && renames[i].unchanged())
            if (const QString reason = leftAloneWhy(renames[i].from, profile); !reason.isEmpty())
                files.append({i, renames[i].from, reason});
    return files;
}

std::unique_ptr<BatchJob> startConvertSelected(const QByteArray &folderPath,
                                               const QByteArray &selected, const QString &text4Text,
                                               MessageBoxes &messages, ConversionState &state)
{
    if (!dictionariesReady(messages, state.profile))
        return nullptr;
    if (!ask(messages,
             QStringLiteral("将【") + displayName(selected) + QStringLiteral("】文件转换为简体?")))
        return nullptr;
    if (selected.isEmpty())
        return nullptr;

    // Converted here rather than taken from the last preview, which may be stale. The
    // extension keeps its own bytes, also in a name that is not valid UTF-8.
    state.NameToConvert = text4Text;
    const QByteArray typed = FToJ(text4Text, state).toUtf8();
    state.ConvertedName.clear();
    // A click fills the box with the name as text: left so, the name's own bytes are converted,
    // so that bytes that are not UTF-8 are not replaced by their escapes.
    const QByteArray own = baseName(selected);
    const QByteArray base =
        text4Text == nameText(own) ? simplifiedFileName(own, state.profile) : typed;
    const QByteArray target = base + dotExtension(selected);
    if (base.isEmpty() && target != selected) {
        messages.failure(
            BatchReport::listed(leftAlone, {QStringLiteral("“%1”→“%2”：新文件名为空或只有扩展名")
                                                .arg(displayName(selected), displayName(target))}));
        return nullptr;
    }
    if (target == selected) {
        if (const QString why = leftAloneWhy(own, state.profile); !why.isEmpty())
            messages.notice(BatchReport::listed(leftAlone, {leftAloneLine(selected, why)}));
        return nullptr;
    }
    return std::make_unique<BatchJob>(
        folderPath, QList<QByteArray>{selected},
        [target](qsizetype, const QByteArray &) { return target; }, conversion());
}

std::unique_ptr<BatchJob> startConvertFolder(const QByteArray &folderPath,
                                             const QList<QByteArray> &fileNames,
                                             MessageBoxes &messages, ConversionState &state,
                                             bool *confirmed)
{
    *confirmed = false;
    if (!dictionariesReady(messages, state.profile))
        return nullptr;
    if (!ask(messages, QStringLiteral("将【") + displayName(folderPath) +
                           QStringLiteral("】文件夹下所有文件转换为简体?")))
        return nullptr;
    *confirmed = true;
    // The form-level values end as a file-by-file conversion leaves them.
    if (!fileNames.isEmpty())
        state.NameToConvert = nameText(fileNames.last());
    state.ConvertedName.clear();
    return std::make_unique<BatchJob>(folderPath, fileNames, folderConversionNamer(state.profile),
                                      conversion());
}

void finishConversion(const BatchJob &job, ConversionProfile profile, ResultList &results,
                      MessageBoxes &messages)
{
    if (const QString text = BatchReport::notStarted(job); !text.isEmpty()) {
        messages.failure(text);
        return;
    }
    QHash<qsizetype, QString> notes;
    for (const LeftAlone &file : leftAloneFiles(job, profile))
        notes.insert(file.index, leftAloneLine(file.name, file.reason));
    listRenamed(job, results, notes);
    const QStringList problems = BatchReport::problemLines(job);
    if (job.cancelled())
        messages.notice(QStringLiteral("转换已取消。") + BatchReport::progress(job));
    else if (!problems.isEmpty())
        messages.failure(BatchReport::listed(leftAlone, problems));
}

std::shared_ptr<TreeJob> makeTreeConversion(const QByteArray &folderPath, ConversionProfile profile)
{
    return std::make_shared<TreeJob>(
        FolderHandle::open(folderPath),
        [profile](const QByteArray &name) { return simplifiedFileName(name, profile); },
        TreeJob::Options{.recursive = true, .folders = true});
}

bool confirmTreeConversion(const TreeJob &tree, MessageBoxes &messages)
{
    if (const QString text = tree.notStarted(); !text.isEmpty()) {
        messages.failure(text);
        return false;
    }
    const QString folder = displayName(tree.rootPath());
    if (tree.stage() == TreeJob::Stage::Refused) {
        messages.failure(BatchReport::listed(
            QStringLiteral("下列名称不能转换，所以【%1】中没有转换任何名称：").arg(folder),
            tree.problemLines()));
        return false;
    }
    if (tree.stage() != TreeJob::Stage::Ready)
        return false;
    const QString skipped = tree.skippedText();
    if (tree.total() == 0) {
        messages.notice(QStringLiteral("【%1】及其子文件夹中没有需要转换的名称。").arg(folder) +
                        (skipped.isEmpty() ? QString() : QLatin1Char('\n') + skipped));
        return false;
    }
    return ask(messages,
               QStringLiteral("将【%1】及其子文件夹中 %2 个名称转换为简体（文件 %3 个，文件夹 %4 "
                              "个）?")
                       .arg(folder)
                       .arg(tree.total())
                       .arg(tree.fileMoveCount())
                       .arg(tree.folderMoveCount()) +
                   (skipped.isEmpty() ? QString() : QLatin1Char('\n') + skipped));
}

void finishTreeConversion(const TreeJob &tree, ConversionProfile profile, ResultList &results,
                          MessageBoxes &messages)
{
    if (const QString text = tree.notStarted(); !text.isEmpty()) {
        messages.failure(text);
        return;
    }
    using Outcome = RenameResult::Outcome;
    for (const TreeJob::Block &block : tree.blocks()) {
        QHash<qsizetype, QString> notes;
        for (const LeftAlone &file : leftAloneFiles(*block.job, profile))
            notes.insert(file.index, leftAloneLine(block.pathOf(file.name), file.reason));
        const QList<PlannedRename> &renames = block.job->plan().renames;
        const std::vector<RenameResult> &outcomes = block.job->results();
        for (size_t i = 0; i < outcomes.size(); ++i)
            if (outcomes[i].outcome == Outcome::Done || outcomes[i].outcome == Outcome::Unchanged)
                results.append(
                    notes.value(qsizetype(i), displayName(block.pathOf(renames[qsizetype(i)].to))));
    }
    const QStringList problems = tree.problemLines();
    const QString progress =
        QStringLiteral("已转换 %1 个名称（共 %2 个），其余保持原名；可以按 Ctrl+Z 撤销。")
            .arg(tree.done())
            .arg(tree.total());
    if (tree.cancelled())
        messages.notice(QStringLiteral("转换已取消。") + progress);
    else if (!problems.isEmpty())
        messages.failure(BatchReport::listed(QStringLiteral("转换已停止。") + progress, problems));
}

void convertSelected(const QByteArray &folderPath, const QByteArray &selected,
                     const QString &text4Text, ResultList &results, MessageBoxes &messages,
                     ConversionState &state)
{
    if (const auto job = startConvertSelected(folderPath, selected, text4Text, messages, state)) {
        job->run();
        finishConversion(*job, state.profile, results, messages);
    }
}

bool convertFolder(const QByteArray &folderPath, const QList<QByteArray> &fileNames,
                   ResultList &results, MessageBoxes &messages, ConversionState &state)
{
    bool confirmed = false;
    if (const auto job = startConvertFolder(folderPath, fileNames, messages, state, &confirmed)) {
        job->run();
        finishConversion(*job, state.profile, results, messages);
    }
    return confirmed;
}

} // namespace tolvane
