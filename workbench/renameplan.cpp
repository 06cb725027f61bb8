#include "workbench/renameplan.h"

#include "platform/rawname.h"
#include "workbench/serialformat.h"

namespace tolvane {

QByteArray newName(const QByteArray &base, const QByteArray &currentName)
{
    const qsizetype dot = currentName.indexOf('.');
    if (dot < 0)
        return base;
    return base + currentName.mid(dot);
}

QList<RenameEntry> PlanRename(const QString &pattern, const QString &startText,
                              const QByteArray &folderPath, const QList<QByteArray> &fileNames)
{
    const double start = StartValue(startText);
    const QString format = SerialFormatFor(startTextLength(startText));
    // The pattern is cut at its "#"s once; each file only joins the pieces with its serial.
    QByteArrayList pieces;
    for (const QString &piece : pattern.split(QLatin1Char('#')))
        pieces.append(piece.toUtf8());

    QList<RenameEntry> plan;
    plan.reserve(fileNames.size());
    for (qsizetype i = 0; i < fileNames.size(); ++i) {
        const QString serial = FormatSerial(static_cast<double>(i) + start, format);
        const QByteArray base = pieces.join(serial.toUtf8());
        RenameEntry entry;
        entry.sourceName = fileNames[i];
        entry.targetName = newName(base, fileNames[i]);
        entry.sourcePath = joinPath(folderPath, entry.sourceName);
        entry.targetPath = joinPath(folderPath, entry.targetName);
        entry.ListedName = displayName(entry.targetName);
        plan.append(entry);
    }
    return plan;
}

} // namespace tolvane
