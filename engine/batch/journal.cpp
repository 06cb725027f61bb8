#include "engine/batch/journal.h"

#include "engine/batch/batchplan.h"
#include "platform/quitsignal.h"
#include "platform/systemerror.h"

#include <QDateTime>
#include <QSet>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvane::Journal {
namespace {

const QByteArray header1 = "tolvane-journal 1\n";
const QByteArray header2 = "tolvane-journal 2\n";
const QByteArray header3 = "tolvane-journal 3\n";
const QByteArray pending = ".journal";
const QByteArray undone = ".undone";
// A journal line holds one file: a batch of millions stays far below.
constexpr qint64 largest = qint64(1) << 30;

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

void appendNumber(QByteArray &out, qint64 value, char after)
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

Failure failed(const QByteArray &what, int error)
{
    return {QStringLiteral("%1：%2").arg(QString::fromLocal8Bit(what), systemErrorText(error))};
}

// The journal folder, open; closed with this.
class StateFolder
{
public:
    StateFolder() = default;
    StateFolder(StateFolder &&other) noexcept : fd(std::exchange(other.fd, -1)) {}
    ~StateFolder()
    {
        if (fd >= 0)
            ::close(fd);
    }
    int fd = -1;
};

// Opens the journal folder, made for the user alone where missing, and only where nobody else
// can have put or changed a journal in it.
Expected<StateFolder> openFolder(bool make)
{
    const QByteArray path = folder();
    if (make) {
        for (qsizetype slash = path.indexOf('/', 1);; slash = path.indexOf('/', slash + 1)) {
            const QByteArray level = slash < 0 ? path : path.left(slash);
            if (::mkdir(level.constData(), 0700) != 0 && errno != EEXIST)
                return failed(level, errno);
            if (slash < 0)
                break;
        }
    }
    StateFolder state;
    state.fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    const int openError = errno;
    struct stat st;
    if (state.fd < 0 && !(::lstat(path.constData(), &st) == 0 && S_ISLNK(st.st_mode)))
        return failed(path, openError);
    if (state.fd >= 0 && ::fstat(state.fd, &st) != 0)
        return failed(path, errno);
    // A link could lead anywhere, also to a folder that others may write.
    if (state.fd < 0 || st.st_uid != ::geteuid() || (st.st_mode & (S_IWGRP | S_IWOTH)))
        return Failure{QStringLiteral("改名记录文件夹【%1】不是只属于你的文件夹，别人可能放入或改动"
                                      "其中的记录，所以不使用它")
                           .arg(QString::fromLocal8Bit(path))};
    return state;
}

bool syncFolder(int fd)
{
    return ::fsync(fd) == 0;
}

bool writeAll(int fd, const QByteArray &data)
{
    for (qsizetype at = 0; at < data.size();) {
        const ssize_t n = ::write(fd, data.constData() + at, size_t(data.size() - at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        at += n;
    }
    return true;
}

// Writes data to a new hidden file of the folder and flushes it: its name, or the error.
Expected<QByteArray> writePart(int dir, const QByteArray &name, const QByteArray &data)
{
    // Two threads may write a journal of one millisecond: each part has a name of its own.
    static std::atomic<int> parts = 0;
    const QByteArray part = '.' + name + '-' + QByteArray::number(parts++) + ".part";
    const int fd =
        ::openat(dir, part.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return failed(folder(), errno);
    const bool written = writeAll(fd, data) && ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!written) {
        ::unlinkat(dir, part.constData(), 0);
        return failed(folder(), error);
    }
    return part;
}

// The journal files, oldest first: their names start with the time they were written.
QList<QByteArray> journalFiles(int dir)
{
    QList<QByteArray> names;
    const int own = ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (DIR *d = own < 0 ? nullptr : ::fdopendir(own)) {
        while (const dirent *entry = ::readdir(d)) {
            const QByteArray name(entry->d_name);
            if (!name.startsWith('.') && (name.endsWith(pending) || name.endsWith(undone)))
                names.append(name);
        }
        ::closedir(d);
    } else if (own >= 0) {
        ::close(own);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void prune(int dir)
{
    const QList<QByteArray> names = journalFiles(dir);
    for (qsizetype i = 0; i + kept < names.size(); ++i)
        ::unlinkat(dir, names[i].constData(), 0);
}

QByteArray serialise(const JournalRecord &record)
{
    QByteArray out = record.blocks.isEmpty() ? header2 : header3;
    const auto line = [&out](const char *key, const QByteArrayList &fields) {
        out += key;
        for (const QByteArray &field : fields) {
            out += '\t';
            appendEscaped(out, field);
        }
        out += '\n';
    };
    line("folder", {record.folder});
    if (!record.fileSystem.isEmpty())
        line("filesystem", {record.fileSystem, record.mountPoint, record.insideFileSystem});
    line("identify", {record.stableInodes ? "inode" : "name"});
    line("stem", {record.temporaryStem});
    out.reserve(out.size() + record.entries.size() * 64);
    qsizetype block = -1;
    for (const JournalRecord::Entry &entry : record.entries) {
        if (!record.blocks.isEmpty() && entry.block != block) {
            block = entry.block;
            line("block", {record.blocks[block]});
        }
        appendNumber(out, entry.id, '\t');
        appendNumber(out, qint64(entry.identity.inode), '\t');
        appendNumber(out, entry.identity.size, '\t');
        appendNumber(out, entry.identity.modified, '\t');
        appendEscaped(out, entry.from);
        out += '\t';
        appendEscaped(out, entry.to);
        out += '\n';
    }
    return out;
}

} // namespace

JournalRecord recordOf(const BatchPlan &plan)
{
    JournalRecord record;
    record.folder = plan.folder;
    if (plan.mount) {
        record.fileSystem = plan.mount->fileSystem;
        record.mountPoint = plan.mount->mountPoint;
        record.insideFileSystem = plan.mount->insideFileSystem(plan.folder);
    }
    record.stableInodes = plan.stableInodes;
    record.temporaryStem = plan.temporaryStem;
    record.entries.reserve(plan.moveCount());
    for (qsizetype i = 0; i < plan.renames.size(); ++i) {
        const PlannedRename &r = plan.renames[i];
        if (plan.moves(i))
            record.entries.append({plan.temporaryId(i), r.from, r.to, r.identity});
    }
    return record;
}

bool isRelativePath(const QByteArray &path)
{
    if (path.isEmpty())
        return true;
    const QByteArrayList names = path.split('/');
    return std::all_of(names.cbegin(), names.cend(), [](const QByteArray &name) {
        return nameProblem(name, LONG_MAX) == PlanProblem::None;
    });
}

namespace {

// A journal is acted on only when everything in it is what Tolvane writes: an absolute folder,
// single names (for a tree, paths of them below the folder, each once), one of its own
// temporary stems.
bool sound(const JournalRecord &record)
{
    if (!record.folder.startsWith('/') || record.folder.contains('\0') ||
        !isTemporaryStem(record.temporaryStem))
        return false;
    const QSet<QByteArray> paths(record.blocks.cbegin(), record.blocks.cend());
    if (paths.size() != record.blocks.size() ||
        !std::all_of(record.blocks.cbegin(), record.blocks.cend(), isRelativePath))
        return false;
    QSet<qsizetype> ids;
    for (const JournalRecord::Entry &entry : record.entries) {
        if (entry.id < 0 || ids.contains(entry.id) ||
            nameProblem(entry.from, LONG_MAX) != PlanProblem::None ||
            nameProblem(entry.to, LONG_MAX) != PlanProblem::None)
            return false;
        ids.insert(entry.id);
    }
    return true;
}

std::optional<JournalRecord> parse(const QByteArray &path, const QByteArray &data)
{
    const bool first = data.startsWith(header1);
    const bool tree = data.startsWith(header3);
    if (!first && !tree && !data.startsWith(header2))
        return std::nullopt;
    JournalRecord record;
    record.path = path;
    // Read in place: an undo of a large batch reads one line per file.
    constexpr int most = 6;
    const int entryFields = first ? 5 : 6;
    QByteArrayView fields[most];
    for (qsizetype at = header1.size(); at < data.size();) {
        qsizetype end = data.indexOf('\n', at);
        if (end < 0)
            end = data.size();
        int count = 0;
        for (qsizetype start = at; count < most;) {
            qsizetype tab = data.indexOf('\t', start);
            if (tab < 0 || tab > end)
                tab = end;
            fields[count++] = QByteArrayView(data).sliced(start, tab - start);
            if (tab == end)
                break;
            start = tab + 1;
        }
        at = end + 1;
        const QByteArrayView key = fields[0];
        if (count == 2 && key == "folder") {
            record.folder = unescaped(fields[1]);
        } else if (count == 2 && key == "stem") {
            record.temporaryStem = unescaped(fields[1]);
        } else if (count == 2 && key == "identify" && !first) {
            record.stableInodes = fields[1] == "inode";
        } else if (count == 4 && key == "filesystem" && !first) {
            record.fileSystem = unescaped(fields[1]);
            record.mountPoint = unescaped(fields[2]);
            record.insideFileSystem = unescaped(fields[3]);
        } else if (count == 2 && key == "block" && tree) {
            record.blocks.append(unescaped(fields[1]));
        } else if (count == entryFields && tree == !record.blocks.isEmpty()) {
            // The first format wrote the device number too; it says nothing after a remount.
            bool ok[4] = {true, true, true, true};
            JournalRecord::Entry entry;
            entry.id = fields[0].toLongLong(&ok[0]);
            const int inode = first ? 2 : 1;
            entry.identity.inode = ino_t(fields[inode].toULongLong(&ok[1]));
            if (!first) {
                entry.identity.size = fields[2].toLongLong(&ok[2]);
                entry.identity.modified = fields[3].toLongLong(&ok[3]);
            }
            entry.from = unescaped(fields[entryFields - 2]);
            entry.to = unescaped(fields[entryFields - 1]);
            entry.block = std::max<qsizetype>(record.blocks.size() - 1, 0);
            if (!(ok[0] && ok[1] && ok[2] && ok[3]))
                return std::nullopt;
            record.entries.append(entry);
        } else if (count > 1 || !fields[0].isEmpty()) {
            return std::nullopt;
        }
    }
    if (!sound(record))
        return std::nullopt;
    return record;
}

// Reads a journal only when it is a plain file of the user's of a sane size: a planted link to
// a device or a pipe must neither hang nor fill the memory. A quit signal stops the reading.
Expected<QByteArray> readJournal(int dir, const QByteArray &name, const QByteArray &path)
{
    const auto damaged = [&path] {
        return Failure{QStringLiteral("改名记录已损坏：%1").arg(QString::fromLocal8Bit(path))};
    };
    const int fd = ::openat(dir, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ELOOP ? damaged() : failed(path, errno);
    QByteArray data;
    struct stat st;
    bool usable = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
                  st.st_size <= largest;
    if (usable)
        data.resize(qsizetype(st.st_size));
    qsizetype at = 0;
    while (usable && at < data.size()) {
        const ssize_t n = ::read(fd, data.data() + at, size_t(data.size() - at));
        if (QuitSignal::received() != 0) {
            ::close(fd);
            return Failure{QStringLiteral("收到终止信号，没有读完改名记录")};
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        at += n;
    }
    ::close(fd);
    if (!usable)
        return damaged();
    data.truncate(at);
    return data;
}

// Puts a part written in the folder at its journal's name: exclusively for a new journal (two
// batches of one millisecond must not share one), over the old one for a journal rewritten.
int place(int dir, const QByteArray &part, const QByteArray &name, bool replace)
{
    const int result =
        replace ? ::renameat(dir, part.constData(), dir, name.constData())
                : ::renameat2(dir, part.constData(), dir, name.constData(), RENAME_NOREPLACE);
    if (result == 0)
        return 0;
    int error = errno;
    if (!replace && (error == EINVAL || error == ENOSYS || error == EOPNOTSUPP)) {
        if (::linkat(dir, part.constData(), dir, name.constData(), 0) == 0) {
            ::unlinkat(dir, part.constData(), 0);
            return 0;
        }
        error = errno;
    }
    return error;
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

Expected<QByteArray> write(const BatchPlan &plan)
{
    return write(recordOf(plan));
}

Expected<QByteArray> write(const JournalRecord &record)
{
    Expected<StateFolder> dir = openFolder(true);
    if (!dir)
        return Failure{dir.error()};
    const QByteArray stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")).toLatin1() +
        '-' + QByteArray::number(::getpid());
    const Expected<QByteArray> part = writePart(dir->fd, stamp, serialise(record));
    if (!part)
        return part;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name =
            stamp + '-' + QByteArray::number(attempt).rightJustified(2, '0') + pending;
        const int error = place(dir->fd, *part, name, false);
        if (error == EEXIST)
            continue;
        if (error == 0 && syncFolder(dir->fd)) {
            prune(dir->fd);
            return folder() + '/' + name;
        }
        const int failure = error ? error : errno;
        ::unlinkat(dir->fd, part->constData(), 0);
        ::unlinkat(dir->fd, name.constData(), 0);
        return failed(folder(), failure);
    }
    ::unlinkat(dir->fd, part->constData(), 0);
    return failed(folder(), EEXIST);
}

Expected<std::optional<JournalRecord>> latest()
{
    if (::access(folder().constData(), F_OK) != 0 && errno == ENOENT)
        return std::optional<JournalRecord>();
    Expected<StateFolder> dir = openFolder(false);
    if (!dir)
        return Failure{dir.error()};
    const QList<QByteArray> names = journalFiles(dir->fd);
    for (auto it = names.crbegin(); it != names.crend(); ++it) {
        if (!it->endsWith(pending))
            continue;
        const QByteArray path = folder() + '/' + *it;
        const Expected<QByteArray> data = readJournal(dir->fd, *it, path);
        if (!data)
            return Failure{data.error()};
        if (std::optional<JournalRecord> record = parse(path, *data))
            return record;
        return Failure{QStringLiteral("改名记录已损坏：%1").arg(QString::fromLocal8Bit(path))};
    }
    return std::optional<JournalRecord>();
}

Expected<Done> discard(const QByteArray &path)
{
    Expected<StateFolder> dir = openFolder(false);
    if (!dir)
        return Failure{dir.error()};
    const QByteArray name = path.mid(path.lastIndexOf('/') + 1);
    if (::unlinkat(dir->fd, name.constData(), 0) != 0)
        return failed(path, errno);
    syncFolder(dir->fd);
    return Done{};
}

Expected<Done> keepOnly(const JournalRecord &record, const QList<JournalRecord::Entry> &left)
{
    Expected<StateFolder> dir = openFolder(false);
    if (!dir)
        return Failure{dir.error()};
    const QByteArray name = record.path.mid(record.path.lastIndexOf('/') + 1);
    int error = 0;
    if (left.isEmpty()) {
        const QByteArray done = name.chopped(pending.size()) + undone;
        error = ::renameat(dir->fd, name.constData(), dir->fd, done.constData()) == 0 ? 0 : errno;
    } else {
        JournalRecord rest = record;
        rest.entries = left;
        const Expected<QByteArray> part = writePart(dir->fd, name, serialise(rest));
        if (!part)
            return Failure{part.error()};
        error = place(dir->fd, *part, name, true);
        if (error != 0)
            ::unlinkat(dir->fd, part->constData(), 0);
    }
    if (error != 0)
        return failed(record.path, error);
    syncFolder(dir->fd);
    return Done{};
}

} // namespace tolvane::Journal
