#include "engine/batch/batchreport.h"

#include "engine/batch/treewalk.h"
#include "platform/rawname.h"
#include "platform/systemerror.h"

#include <algorithm>

namespace tolvane::BatchReport {

QString reason(PlanProblem problem)
{
    switch (problem) {
    case PlanProblem::None:
        break;
    case PlanProblem::Missing:
        return QStringLiteral("文件已不存在");
    case PlanProblem::Empty:
        return QStringLiteral("新文件名为空");
    case PlanProblem::DotName:
        return QStringLiteral("新文件名不能是“.”或“..”");
    case PlanProblem::Nul:
        return QStringLiteral("新文件名中不能含有空字符");
    case PlanProblem::TooLong:
        return QStringLiteral("新文件名太长，超出了文件系统的限制");
    case PlanProblem::Slash:
        return QStringLiteral("新文件名中不能含有“/”：文件只在原来的文件夹中改名");
    case PlanProblem::TakenByFile:
        return QStringLiteral("已有同名的文件");
    case PlanProblem::TakenByFolder:
        return QStringLiteral("已有同名的文件夹");
    case PlanProblem::TakenByLink:
        return QStringLiteral("已有同名的链接");
    case PlanProblem::TakenByOther:
        return QStringLiteral("已有同名的项目");
    case PlanProblem::SameTarget:
        return QStringLiteral("另一个文件也要改成这个名字");
    case PlanProblem::ReadOnly:
        return QStringLiteral("文件系统是只读的");
    case PlanProblem::NoPermission:
        return QStringLiteral("没有在这个文件夹中改名的权限");
    case PlanProblem::Immutable:
        return QStringLiteral("文件或文件夹被设为不可更改，不允许这样操作");
    }
    return {};
}

QString fileProblem(const BatchJob &job, qsizetype i)
{
    const PlannedRename &r = job.plan().renames[i];
    const std::vector<RenameResult> &results = job.results();
    if (r.problem != PlanProblem::None)
        return reason(r.problem);
    if (size_t(i) >= results.size())
        return {};
    const RenameResult &result = results[size_t(i)];
    if (result.outcome == RenameResult::Outcome::Failed ||
        result.outcome == RenameResult::Outcome::Restored)
        return result.errorText.isEmpty() ? QStringLiteral("与它互换名字的文件没能改名")
                                          : result.errorText;
    if (result.outcome == RenameResult::Outcome::Stranded)
        return QStringLiteral("%1，文件暂时名为“%2”%3")
            .arg(result.errorText, displayName(job.plan().temporaryName(i)),
                 job.undoable() ? QStringLiteral("，可以撤销找回") : QString());
    return {};
}

QString shownName(const QByteArray &name)
{
    // A name of thousands of characters would bury the message it stands in.
    constexpr qsizetype longest = 80, head = 48, tail = 24;
    const QString text = displayName(name);
    if (text.size() <= longest)
        return text;
    return text.left(head) + QStringLiteral("…") + text.right(tail);
}

QStringList problemLines(const BatchJob &job, const QByteArray &folder)
{
    QStringList lines;
    const auto path = [&folder](const QByteArray &name) {
        return shownName(pathBelow(folder, name));
    };
    const QList<PlannedRename> &renames = job.plan().renames;
    for (qsizetype i = 0; i < renames.size(); ++i)
        if (const QString why = fileProblem(job, i); !why.isEmpty())
            lines.append(QStringLiteral("“%1”→“%2”：%3")
                             .arg(path(renames[i].from), path(renames[i].to), why));
    return lines;
}

QString listed(const QString &heading, const QStringList &lines)
{
    // A box as tall as a whole failed folder would push its own OK button off the screen.
    constexpr qsizetype shownAtMost = 20;
    QString text = heading;
    for (const QString &line : lines.first(std::min(lines.size(), shownAtMost)))
        text += QLatin1Char('\n') + line;
    if (lines.size() > shownAtMost)
        text += QStringLiteral("\n……另有 %1 个文件。").arg(lines.size() - shownAtMost);
    return text;
}

QString notStarted(const BatchJob &job)
{
    if (job.stage() == BatchJob::Stage::FolderUnreadable)
        return QStringLiteral("无法打开文件夹【%1】：%2\n没有改名任何文件。")
            .arg(shownName(job.plan().folder), systemErrorText(job.plan().folderError));
    if (job.stage() == BatchJob::Stage::JournalFailed)
        return QStringLiteral("无法写入改名记录，没有改名任何文件。\n%1").arg(job.journalError());
    return {};
}

QString progress(const BatchJob &job)
{
    return QStringLiteral("已改名 %1 个文件（共 %2 个），其余文件保持原名；可以按 Ctrl+Z 撤销。")
        .arg(job.done())
        .arg(job.total());
}

} // namespace tolvane::BatchReport
