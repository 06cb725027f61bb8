#pragma once

#include "engine/batch/batchjob.h"
#include "engine/batch/undo.h"
#include "engine/conversion/simplifyrename.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace tolvane {

// What a command-line batch prints: every rename planned (a preview) or done, and every file
// that keeps its name on standard error with the reason. Names are shown as displayName shows
// them, safe in a terminal, except where a script reads them: "-0" writes their own bytes, JSON
// their text (with the bytes beside names that are not UTF-8). The exit status follows from
// the same entries.
class CommandReport
{
public:
    enum class Status {
        Planned,
        Done,
        Refused,
        Failed,
        Restored,
        Stranded,
        NotRun,
        Lost,
        Unchanged,
        LeftAlone
    };
    // "OLD<TAB>NEW" lines, "OLD\0NEW\0" pairs, or one JSON array.
    enum class Format { Lines, Null, Json };

    explicit CommandReport(Format format) : m_format(format) {}

    // The files of a job that change name or keep it against the plan; applied tells whether
    // the job was meant to move them (a preview only plans). In a tree, folder is the job's
    // folder below the root, and names are given as paths below the root.
    void addJob(const BatchJob &job, bool applied, const QByteArray &folder = {});
    // Files of an undone batch that are found nowhere, or that already have their old names:
    // every file of the journal is reported.
    void addUndo(const Undo &undo);
    // Files a conversion leaves alone for their language: neither renamed nor kept against the
    // plan, so they count for neither.
    void addLeftAlone(const QList<LeftAlone> &files);

    // Prints everything, closes standard error with the summary (when there is one) and
    // returns the exit status: 0 nothing kept its name, 1 nothing (would be) renamed, 2 both.
    // nothingDone forces 1, for a batch refused as a whole.
    int finish(const QString &summary, bool nothingDone);

    // Files that get (or would get) their new names, and files that keep their names.
    qsizetype renamed() const;
    qsizetype kept() const;

private:
    struct Entry
    {
        QByteArray from;
        QByteArray to;
        Status status;
        QString error;
    };
    void writePairs() const;
    void writeJson() const;

    Format m_format;
    QList<Entry> m_entries;
};

// Writes a line to standard error as UTF-8, "tolvane：" before it.
void complain(const QString &text);

} // namespace tolvane
