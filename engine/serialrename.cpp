#include "engine/serialrename.h"

#include "engine/resultlist.h"
#include "engine/serialformat.h"
#include "engine/serialnamer.h"
#include "platform/filemover.h"
#include "platform/messageboxes.h"
#include "platform/rawname.h"

#include <QStringList>
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
    // of them by more than the whole plan costs. Only the names are made, not PlanRename's full
    // entries: their paths are never used here and cost a tenth of the batch's time.
    const SerialNamer namer(pattern, StartValue(startText), state.SerialFormat);
    QByteArrayList targets;
    QStringList listed;
    targets.reserve(fileNames.size());
    listed.reserve(fileNames.size());
    for (qsizetype i = 0; i < fileNames.size(); ++i) {
        targets.append(namer.newName(i, fileNames[i]));
        listed.append(displayName(targets.last()));
    }

    FileMover mover(folderPath);
    for (qsizetype i = 0; i < fileNames.size(); ++i) {
        const QByteArray &current = fileNames[i];
        const QByteArray &target = targets[i];
        const FileMover::Result moved = mover.move(current, target);
        if (!moved.ok) {
            messages.failure(QStringLiteral("“%1”无法改名为“%2”：%3\n改名已停止：之前的文件已改名，"
                                            "这个文件和之后的文件保持原名。")
                                 .arg(displayName(current), listed[i], moved.errorText));
            return;
        }
        results.append(listed[i]);
    }
}

} // namespace tolvane
