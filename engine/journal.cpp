#include "engine/journal.h"

#include "engine/batchplan.h"
#include "platform/systemerror.h"

#include <QDateTime>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvane::Journal {
namespace {

const QByteArray header = "tolvane-journal 1\n";
const QByteArray pending = ".journal";
const QByteArray undone = ".undone";

// Names are raw bytes; only the few that would break a line or a field are escaped.
void appendEscaped(QByteArray &out, const QByteArray &name)
{
    const auto special = [](char c) { return c == '%' || c == '\t' || c == '\n' || c == '\r'; };
    if (std::none_of(name.cbegin(), name.cend(), special)) {
        out += name;
        return;
    }
    for (const char c : name) {
        if (special(c)) {
            const char hex[] = {'%', "0123456789ABCDEF"[(c >> 4) & 0xF],
                                "0123456789ABCDEF"[c & 0xF]};
            out.append(hex, 3);
        } else {
            out += c;
        }
    }
}

void appendNumber(QByteArray &out, quint64 value, char after)
{
    char digits[24];
    char *end = std::to_chars(digits, digits + sizeof digits - 1, value).ptr;
    *end++ = after;
    out.append(digits, end - digits);
}

QByteArray unescaped(QByteArrayView field)
{
    const QByteArray bytes = field.toByteArray();
    return field.contains('%') ? QByteArray::fromPercentEncoding(bytes) : bytes;
}

QString failed(const QString &what, int error)
{
    return QStringLiteral("%1：%2").arg(what, systemErrorText(error));
}

bool makeFolder(const QByteArray &path, QString *error)
{
    // Each missing level is made for the user alone, as the base folder rules ask.
    for (qsizetype slash = path.indexOf('/', 1);; slash = path.indexOf('/', slash + 1)) {
        const QByteArray level = slash < 0 ? path : path.left(slash);
        if (::mkdir(level.constData(), 0700) != 0 && errno != EEXIST) {
            *error = failed(QString::fromLocal8Bit(level), errno);
            return false;
        }
        if (slash < 0)
            return true;
    }
}

bool syncFolder(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool writeAll(int fd, const QByteArray &data)
{
    for (qsizetype at = 0; at < data.size();) {
        const ssize_t n = ::write(fd, data.constData() + at, size_t(data.size() - at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        at += n;
    }
    return true;
}

// The journal files, oldest first: their names start with the time they were written.
QList<QByteArray> journalFiles(const QByteArray &dir)
{
    QList<QByteArray> names;
    if (DIR *d = ::opendir(dir.constData())) {
        while (const dirent *entry = ::readdir(d)) {
            const QByteArray name(entry->d_name);
            if (name.endsWith(pending) || name.endsWith(undone))
                names.append(name);
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void prune(const QByteArray &dir)
{
    const QList<QByteArray> names = journalFiles(dir);
    for (qsizetype i = 0; i + kept < names.size(); ++i)
        ::unlink((dir + '/' + names[i]).constData());
}

QByteArray serialise(const BatchPlan &plan)
{
    QByteArray out = header;
    out += "folder\t";
    appendEscaped(out, plan.folder);
    out += "\nstem\t";
    appendEscaped(out, plan.temporaryStem);
    out += '\n';
    out.reserve(out.size() + plan.moveCount() * 64);
    for (qsizetype i = 0; i < plan.renames.size(); ++i) {
        const PlannedRename &r = plan.renames[i];
        if (r.problem != PlanProblem::None || r.unchanged())
            continue;
        appendNumber(out, quint64(plan.temporaryId(i)), '\t');
        appendNumber(out, quint64(r.identity.device), '\t');
        appendNumber(out, quint64(r.identity.inode), '\t');
        appendEscaped(out, r.from);
        out += '\t';
        appendEscaped(out, r.to);
        out += '\n';
    }
    return out;
}

std::optional<JournalRecord> parse(const QByteArray &path, const QByteArray &data)
{
    if (!data.startsWith(header))
        return std::nullopt;
    JournalRecord record;
    record.path = path;
    // Read in place: an undo of a large batch reads one line per file.
    QByteArrayView fields[5];
    for (qsizetype at = header.size(); at < data.size();) {
        qsizetype end = data.indexOf('\n', at);
        if (end < 0)
            end = data.size();
        qsizetype count = 0;
        for (qsizetype start = at; count < 5;) {
            qsizetype tab = data.indexOf('\t', start);
            if (tab < 0 || tab > end)
                tab = end;
            fields[count++] = QByteArrayView(data).sliced(start, tab - start);
            if (tab == end)
                break;
            start = tab + 1;
        }
        at = end + 1;
        if (count == 2 && fields[0] == "folder") {
            record.folder = unescaped(fields[1]);
        } else if (count == 2 && fields[0] == "stem") {
            record.temporaryStem = unescaped(fields[1]);
        } else if (count == 5) {
            bool ok[3];
            JournalRecord::Entry entry{
                fields[0].toLongLong(&ok[0]),
                unescaped(fields[3]),
                unescaped(fields[4]),
                {dev_t(fields[1].toULongLong(&ok[1])), ino_t(fields[2].toULongLong(&ok[2]))}};
            if (!ok[0] || !ok[1] || !ok[2])
                return std::nullopt;
            record.entries.append(entry);
        } else if (count > 1 || !fields[0].isEmpty()) {
            return std::nullopt;
        }
    }
    if (record.folder.isEmpty() || record.temporaryStem.isEmpty())
        return std::nullopt;
    return record;
}

QByteArray readFile(const QByteArray &path, int *error)
{
    QByteArray data;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *error = errno;
        return data;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            *error = errno;
        if (n <= 0)
            break;
        data.append(buffer, n);
    }
    ::close(fd);
    return data;
}

} // namespace

QByteArray folder()
{
    QByteArray base = qgetenv("XDG_STATE_HOME");
    // The base folder rules say a relative value is to be ignored.
    if (!base.startsWith('/'))
        base = qgetenv("HOME") + "/.local/state";
    return base + "/tolvane";
}

std::optional<QByteArray> write(const BatchPlan &plan, QString *error)
{
    const QByteArray dir = folder();
    if (!makeFolder(dir, error))
        return std::nullopt;
    const QByteArray stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")).toLatin1() +
        '-' + QByteArray::number(::getpid());
    const QByteArray data = serialise(plan);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = stamp + '-' + QByteArray::number(attempt).rightJustified(2, '0');
        const QByteArray part = dir + "/." + name;
        const int fd = ::open(part.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0) {
            *error = failed(QString::fromLocal8Bit(dir), errno);
            return std::nullopt;
        }
        // One flush for the whole batch: the file, then the folder that names it.
        const bool written = writeAll(fd, data) && ::fsync(fd) == 0;
        const int writeError = written ? 0 : errno;
        ::close(fd);
        const QByteArray path = dir + '/' + name + pending;
        if (written && ::rename(part.constData(), path.constData()) == 0 && syncFolder(dir)) {
            prune(dir);
            return path;
        }
        ::unlink(part.constData());
        ::unlink(path.constData());
        *error = failed(QString::fromLocal8Bit(dir), writeError ? writeError : errno);
        return std::nullopt;
    }
    *error = failed(QString::fromLocal8Bit(dir), EEXIST);
    return std::nullopt;
}

std::optional<JournalRecord> latest(QString *error)
{
    const QByteArray dir = folder();
    const QList<QByteArray> names = journalFiles(dir);
    for (auto it = names.crbegin(); it != names.crend(); ++it) {
        if (!it->endsWith(pending))
            continue;
        const QByteArray path = dir + '/' + *it;
        int readError = 0;
        const QByteArray data = readFile(path, &readError);
        if (readError != 0) {
            *error = failed(QString::fromLocal8Bit(path), readError);
            return std::nullopt;
        }
        if (std::optional<JournalRecord> record = parse(path, data))
            return record;
        *error = QStringLiteral("改名记录已损坏：%1").arg(QString::fromLocal8Bit(path));
        return std::nullopt;
    }
    error->clear();
    return std::nullopt;
}

bool markUndone(const JournalRecord &record, QString *error)
{
    const QByteArray done = record.path.chopped(pending.size()) + undone;
    if (::rename(record.path.constData(), done.constData()) != 0) {
        *error = failed(QString::fromLocal8Bit(record.path), errno);
        return false;
    }
    syncFolder(folder());
    return true;
}

} // namespace tolvane::Journal
