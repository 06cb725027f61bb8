#include "engine/simplifyrename.h"

#include "engine/basename.h"
#include "engine/ftoj.h"
#include "engine/resultlist.h"
#include "engine/simplifier.h"
#include "platform/filemover.h"
#include "platform/messageboxes.h"
#include "platform/rawname.h"

#include <algorithm>

namespace tolvane {
namespace {

struct Failure
{
    QByteArray from;
    QByteArray to;
    QString errorText;
};

// Without the dictionaries every name would come back unchanged and look converted.
bool dictionariesReady(MessageBoxes &messages)
{
    const Simplifier &simplifier = Simplifier::shared();
    if (!simplifier.isReady())
        messages.failure(QStringLiteral("无法载入繁简转换词典，没有转换任何文件：%1")
                             .arg(simplifier.errorText()));
    return simplifier.isReady();
}

bool ask(MessageBoxes &messages, const QString &text)
{
    return messages.askYesNo(QStringLiteral("转换"), text);
}

// A name that needs no change is still moved onto itself: FileMover then only checks that the
// file is there, so a vanished file is reported rather than listed.
void settle(FileMover &mover, const QByteArray &from, const QByteArray &to, ResultList &results,
            QList<Failure> &failures)
{
    const FileMover::Result moved = mover.move(from, to);
    if (moved.ok)
        results.append(displayName(to));
    else
        failures.append({from, to, moved.errorText});
}

void report(const QList<Failure> &failures, MessageBoxes &messages)
{
    if (failures.isEmpty())
        return;
    // A box as tall as a whole failed folder would push its own OK button off the screen.
    constexpr qsizetype shownAtMost = 20;
    QString text = QStringLiteral("下列文件没有转换为简体，保持原名：");
    for (const Failure &failure : failures.first(std::min(failures.size(), shownAtMost)))
        text += QStringLiteral("\n“%1”无法改名为“%2”：%3")
                    .arg(displayName(failure.from), displayName(failure.to), failure.errorText);
    if (failures.size() > shownAtMost)
        text += QStringLiteral("\n……另有 %1 个文件没有转换。").arg(failures.size() - shownAtMost);
    messages.failure(text);
}

} // namespace

void convertSelected(const QByteArray &folderPath, const QByteArray &selected,
                     const QString &text4Text, ResultList &results, MessageBoxes &messages,
                     ConversionState &state)
{
    if (!dictionariesReady(messages))
        return;
    if (!ask(messages,
             QStringLiteral("将【") + displayName(selected) + QStringLiteral("】文件转换为简体?")))
        return;
    if (selected.isEmpty())
        return;

    QByteArray target = selected;
    QList<Failure> failures;
    if (isValidUtf8(selected)) {
        // Converted here rather than taken from the last preview, which may be stale.
        state.NameToConvert = text4Text;
        const QByteArray base = FToJ(text4Text, state).toUtf8();
        target = base + dotExtension(selected);
        if (base.isEmpty() && target != selected)
            failures.append({selected, target, QStringLiteral("新文件名为空或只有扩展名")});
    }
    if (failures.isEmpty()) {
        FileMover mover(folderPath);
        settle(mover, selected, target, results, failures);
    }
    state.ConvertedName.clear();
    report(failures, messages);
}

bool convertFolder(const QByteArray &folderPath, const QList<QByteArray> &fileNames,
                   ResultList &results, MessageBoxes &messages, ConversionState &state)
{
    if (!dictionariesReady(messages))
        return false;
    if (!ask(messages, QStringLiteral("将【") + displayName(folderPath) +
                           QStringLiteral("】文件夹下所有文件转换为简体?")))
        return false;

    FileMover mover(folderPath);
    QList<Failure> failures;
    for (const QByteArray &name : fileNames) {
        QByteArray target = name;
        if (isValidUtf8(name)) {
            state.NameToConvert = QString::fromUtf8(name);
            target = FToJ(state.NameToConvert, state).toUtf8();
        }
        settle(mover, name, target, results, failures);
        state.ConvertedName.clear();
    }
    report(failures, messages);
    return true;
}

} // namespace tolvane
