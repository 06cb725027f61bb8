#include "engine/renameplan.h"

#include "engine/serialformat.h"
#include "engine/serialnamer.h"
#include "platform/rawname.h"

namespace tolvane {

QList<RenameEntry> PlanRename(const QString &pattern, const QString &startText,
                              const QByteArray &folderPath, const QList<QByteArray> &fileNames)
{
    const SerialNamer namer(pattern, StartValue(startText),
                            SerialFormatFor(startTextLength(startText)));
    QList<RenameEntry> plan;
    plan.reserve(fileNames.size());
    for (qsizetype i = 0; i < fileNames.size(); ++i) {
        RenameEntry entry;
        entry.sourceName = fileNames[i];
        entry.targetName = namer.newName(i, fileNames[i]);
        entry.sourcePath = joinPath(folderPath, entry.sourceName);
        entry.targetPath = joinPath(folderPath, entry.targetName);
        entry.ListedName = displayName(entry.targetName);
        plan.append(std::move(entry));
    }
    return plan;
}

} // namespace tolvane
