#include "app/commandreport.h"

#include "engine/batch/batchreport.h"
#include "engine/batch/treewalk.h"
#include "engine/batch/undo.h"
#include "platform/rawname.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>

namespace tolvane {
namespace {

QString statusName(CommandReport::Status status)
{
    using S = CommandReport::Status;
    switch (status) {
    case S::Planned:
        return QStringLiteral("planned");
    case S::Done:
        return QStringLiteral("done");
    case S::Refused:
        return QStringLiteral("refused");
    case S::Failed:
        return QStringLiteral("failed");
    case S::Restored:
        return QStringLiteral("restored");
    case S::Stranded:
        return QStringLiteral("stranded");
    case S::NotRun:
        return QStringLiteral("not-run");
    case S::Lost:
        return QStringLiteral("lost");
    case S::Unchanged:
        return QStringLiteral("unchanged");
    case S::LeftAlone:
        return QStringLiteral("left-alone");
    }
    return {};
}

CommandReport::Status statusOf(RenameResult::Outcome outcome)
{
    using O = RenameResult::Outcome;
    using S = CommandReport::Status;
    switch (outcome) {
    case O::Done:
    case O::Unchanged:
        return S::Done;
    case O::Failed:
        return S::Failed;
    case O::Restored:
        return S::Restored;
    case O::Stranded:
        return S::Stranded;
    case O::NotRun:
    case O::Refused:
        break;
    }
    return S::NotRun;
}

// JSON strings are Unicode: a name that is not valid UTF-8 is given with those bytes as "\xNN",
// and its exact bytes travel beside it in base64.
void putName(QJsonObject &object, const QString &key, const QByteArray &name)
{
    object.insert(key, nameText(name));
    if (!isValidUtf8(name))
        object.insert(key + QStringLiteral("_base64"), QString::fromLatin1(name.toBase64()));
}

void writeErr(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stderr);
}

void writeOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

// The JSON writer escapes only C0 controls: DEL, C1 controls and bidirectional overrides would
// reach a terminal as they are. Outside strings the document is ASCII.
QByteArray escapeControls(const QByteArray &json)
{
    QString text;
    text.reserve(json.size());
    for (const QChar c : QString::fromUtf8(json)) {
        if (c.unicode() >= 0x7F && isEscapedCharacter(c.unicode()))
            text.append(QStringLiteral("\\u%1").arg(uint(c.unicode()), 4, 16, QLatin1Char('0')));
        else
            text.append(c);
    }
    return text.toUtf8();
}

} // namespace

void complain(const QString &text)
{
    writeErr(QStringLiteral("tolvane：") + text + QLatin1Char('\n'));
}

void CommandReport::addJob(const BatchJob &job, bool applied, const QByteArray &folder)
{
    const auto path = [&folder](const QByteArray &name) { return pathBelow(folder, name); };
    const QList<PlannedRename> &renames = job.plan().renames;
    const std::vector<RenameResult> &results = job.results();
    for (qsizetype i = 0; i < renames.size(); ++i) {
        const PlannedRename &r = renames[i];
        if (r.problem == PlanProblem::None && r.unchanged())
            continue;
        Status status = Status::Planned;
        if (r.problem != PlanProblem::None)
            status = Status::Refused;
        else if (applied)
            status =
                size_t(i) < results.size() ? statusOf(results[size_t(i)].outcome) : Status::NotRun;
        QString error = BatchReport::fileProblem(job, i);
        if (status == Status::NotRun)
            error = QStringLiteral("改名没有进行到这个文件，保持原名");
        m_entries.append({path(r.from), path(r.to), status, error});
    }
}

void CommandReport::addUndo(const Undo &undo)
{
    // An undo moves a file from the name the batch gave it back to the one it had.
    for (const Undo::Lost &lost : undo.lost())
        m_entries.append({lost.entry.to, lost.entry.from, Status::Lost, lost.reason});
    for (const JournalRecord::Entry &entry : undo.alreadyBack())
        m_entries.append(
            {entry.to, entry.from, Status::Unchanged, QStringLiteral("已经是原来的名字")});
}

void CommandReport::addLeftAlone(const QList<LeftAlone> &files)
{
    for (const LeftAlone &file : files)
        m_entries.append({file.name, file.name, Status::LeftAlone, file.reason});
}

qsizetype CommandReport::renamed() const
{
    return std::count_if(m_entries.cbegin(), m_entries.cend(), [](const Entry &entry) {
        return entry.status == Status::Planned || entry.status == Status::Done;
    });
}

qsizetype CommandReport::kept() const
{
    return m_entries.size() - renamed() -
           std::count_if(m_entries.cbegin(), m_entries.cend(), [](const Entry &entry) {
               return entry.status == Status::Unchanged || entry.status == Status::LeftAlone;
           });
}

int CommandReport::finish(const QString &summary, bool nothingDone)
{
    if (m_format == Format::Json)
        writeJson();
    else
        writePairs();
    std::fflush(stdout);
    for (const Entry &entry : std::as_const(m_entries))
        if (entry.status == Status::LeftAlone)
            writeErr(
                QStringLiteral("“%1”：%2\n").arg(BatchReport::shownName(entry.from), entry.error));
        else if (!entry.error.isEmpty())
            writeErr(QStringLiteral("“%1”→“%2”：%3\n")
                         .arg(BatchReport::shownName(entry.from), BatchReport::shownName(entry.to),
                              entry.error));
    if (!summary.isEmpty())
        complain(summary);

    if (nothingDone || (kept() > 0 && renamed() == 0))
        return 1;
    return kept() == 0 ? 0 : 2;
}

void CommandReport::writePairs() const
{
    for (const Entry &entry : m_entries) {
        if (entry.status != Status::Planned && entry.status != Status::Done)
            continue;
        if (m_format == Format::Null)
            writeOut(entry.from + '\0' + entry.to + '\0');
        else
            writeOut((displayName(entry.from) + u'\t' + displayName(entry.to) + u'\n').toUtf8());
    }
}

void CommandReport::writeJson() const
{
    QJsonArray array;
    for (const Entry &entry : m_entries) {
        QJsonObject object;
        putName(object, QStringLiteral("from"), entry.from);
        putName(object, QStringLiteral("to"), entry.to);
        object.insert(QStringLiteral("status"), statusName(entry.status));
        object.insert(QStringLiteral("error"),
                      entry.error.isEmpty() ? QJsonValue() : QJsonValue(entry.error));
        array.append(object);
    }
    writeOut(escapeControls(QJsonDocument(array).toJson(QJsonDocument::Indented)));
}

} // namespace tolvane
