#include "engine/batchjob.h"
#include "engine/undo.h"

#include <QByteArrayList>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using namespace tolvane;

namespace {

// Every entry of a folder with its content (a folder's is "/"): what must survive a batch.
std::map<QByteArray, QByteArray> entries(const QByteArray &path)
{
    std::map<QByteArray, QByteArray> found;
    DIR *dir = ::opendir(path.constData());
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        QFile file(QFile::decodeName(path + '/' + name));
        found[name] = entry->d_type == DT_DIR      ? QByteArray("/")
                      : file.open(QFile::ReadOnly) ? file.readAll()
                                                   : QByteArray("?");
    }
    ::closedir(dir);
    return found;
}

QByteArray name(const uint8_t *&at, const uint8_t *end)
{
    static const char letters[] = "aAbB1.";
    QByteArray out;
    for (int n = at < end ? 1 + *at++ % 3 : 1; n > 0 && at < end; --n)
        out += letters[*at++ % 6];
    return out.isEmpty() ? QByteArray("a") : out;
}

} // namespace

// Random folders of short look-alike names (chains, rings, case variants, names held by
// folders), random renames of some of their files: the plan and moves lose nothing, leave
// every file at its old or its new name, and undo restores the folder exactly.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir state;
    qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.path());
    const uint8_t *at = data, *end = data + size;
    QByteArrayList from, to;
    const int fd = ::open(path.constData(), O_PATH);
    while (at + 2 < end && from.size() < 12) {
        const bool folder = *at++ % 5 == 0;
        const QByteArray made = name(at, end);
        if (folder) {
            ::mkdirat(fd, made.constData(), 0700);
            continue;
        }
        const int file = ::openat(fd, made.constData(), O_CREAT | O_EXCL | O_WRONLY, 0600);
        if (file < 0)
            continue;
        if (::write(file, made.constData(), size_t(made.size())) != made.size())
            std::abort();
        ::close(file);
        from.append(made);
        to.append(name(at, end));
    }
    ::close(fd);
    const auto before = entries(path);
    BatchJob job(path, from, [&to](qsizetype i, const QByteArray &) { return to[i]; }, {});
    job.run();
    const auto after = entries(path);
    std::multiset<QByteArray> kept, now;
    for (const auto &[n, content] : before)
        kept.insert(content);
    for (const auto &[n, content] : after)
        now.insert(content);
    if (kept != now)
        std::abort();
    for (qsizetype i = 0; i < from.size(); ++i) {
        const bool moved = job.results()[size_t(i)].outcome == RenameResult::Outcome::Done;
        if (after.count(moved ? job.plan().renames[i].to : from[i]) == 0 ||
            after.at(moved ? job.plan().renames[i].to : from[i]) != from[i])
            std::abort();
    }
    if (job.total() > 0) {
        Undo undo;
        undo.prepare();
        undo.execute();
        if (entries(path) != before)
            std::abort();
    }
    return 0;
}
