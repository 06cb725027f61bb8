#include "workbench/serialrename.h"

#include "platform/filemover.h"
#include "platform/messageboxes.h"
#include "platform/rawname.h"
#include "workbench/renameplan.h"
#include "workbench/resultlist.h"
#include "workbench/serialformat.h"

#include <cmath>

namespace tolvane {
namespace {

// Texts the batch refuses before it touches anything; empty when the batch may run.
QString refusal(const QString &pattern, const QString &startText)
{
    // A start too large for a number would otherwise be written as "Infinity" into every name.
    if (!std::isfinite(StartValue(startText)))
        return QStringLiteral("起始编号“%1”超出了能表示的数字范围，没有改名任何文件。")
            .arg(startText);
    // A NUL byte would end the name early in the system's calls.
    if (pattern.contains(QChar(u'\0')))
        return QStringLiteral("新文件名中不能含有空字符，没有改名任何文件。");
    return {};
}

} // namespace

void RunSerialRename(const QString &pattern, const QString &startText, const QByteArray &folderPath,
                     const QList<QByteArray> &fileNames, ResultList &results,
                     MessageBoxes &messages, BatchState &state)
{
    if (startText.isEmpty() || pattern.isEmpty()) {
        messages.notice(QStringLiteral("没填完！"));
        return;
    }
    if (const QString text = refusal(pattern, startText); !text.isEmpty()) {
        messages.failure(text);
        return;
    }

    results.clear();
    state.StartTextLength = startTextLength(startText);
    state.SerialFormat = SerialFormatFor(state.StartTextLength);

    // Every name is made before the first move: work done between the system calls slows each
    // of them by more than the whole plan costs.
    const QList<RenameEntry> plan = PlanRename(pattern, startText, folderPath, fileNames);

    FileMover mover(folderPath);
    for (const RenameEntry &entry : plan) {
        const FileMover::Result moved = mover.move(entry.sourceName, entry.targetName);
        if (!moved.ok) {
            messages.failure(
                QStringLiteral("“%1”无法改名为“%2”：%3\n改名已停止：之前的文件已改名，"
                               "这个文件和之后的文件保持原名。")
                    .arg(displayName(entry.sourceName), entry.ListedName, moved.errorText));
            return;
        }
        results.append(entry.ListedName);
    }
}

} // namespace tolvane
