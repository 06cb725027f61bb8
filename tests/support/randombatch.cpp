#include "tests/support/randombatch.h"

#include "engine/batch/undo.h"
#include "engine/conversion/simplifyrename.h"
#include "engine/naming/serialrename.h"
#include "tests/support/fakemessageboxes.h"
#include "tests/support/fakeresultlist.h"
#include "tests/support/testdir.h"

#include <QDebug>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tolvane::test {
namespace {

// Each entry with its type (DT_DIR, DT_REG, DT_LNK) and a file's content or a link's target.
using Listing = std::map<QByteArray, QByteArray>;

Listing listing(int fd)
{
    Listing found;
    DIR *dir = ::fdopendir(::dup(fd));
    ::rewinddir(dir); // the duplicate shares the offset an earlier reading left at the end
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        char bytes[300];
        const int file = ::openat(fd, name.constData(), O_RDONLY | O_NOFOLLOW);
        const ssize_t size = entry->d_type == DT_LNK
                                 ? ::readlinkat(fd, name.constData(), bytes, sizeof bytes)
                                 : ::read(file, bytes, sizeof bytes);
        ::close(file);
        if (name != "." && name != "..")
            found[name] = QByteArray::number(entry->d_type) + ':' +
                          QByteArray(bytes, std::max<ssize_t>(size, 0));
    }
    ::closedir(dir);
    return found;
}

// Short names from a few look-alike pieces, so that names meet often; now and then one near
// the 255 bytes a name may have.
QByteArray randomName(const Pick &pick)
{
    static const QByteArrayList pieces =
        QByteArray("a|A|1|l|I|0|O|.|-| |舊|旧|檔|档|乾|干|幹|\xff|\xe8\x88").split('|');
    static const QByteArrayList extensions = QByteArray("|.txt|.TXT|.tar.gz|.檔").split('|');
    QByteArray name;
    const unsigned length = pick(20) == 0 ? 236 + pick(24) : 1 + pick(3);
    while (unsigned(name.size()) < length)
        name += pieces[pick(unsigned(pieces.size()))];
    name += extensions[pick(unsigned(extensions.size()))];
    return name == "." || name == ".." ? name + 'a' : name;
}

// Makes the folder and the batch, runs it and its undo and compares the folder after each.
QString check(int &fd, const QByteArray &folder, const Pick &pick,
              const std::function<void()> &beforeUndo)
{
    QByteArrayList files;
    for (unsigned i = 0, count = pick(13); i < count; ++i) {
        const QByteArray name = randomName(pick), content = QByteArray::number(i);
        if (const unsigned kind = pick(10); kind == 9)
            ::symlinkat(randomName(pick).constData(), fd, name.constData());
        else if (kind >= 7)
            ::mkdirat(fd, name.constData(), 0700);
        else if (const int file = ::openat(fd, name.constData(), O_CREAT | O_EXCL | O_WRONLY, 0600);
                 file >= 0) {
            if (::write(file, content.constData(), size_t(content.size())) == content.size())
                files.append(name);
            ::close(file);
        }
    }
    const Listing before = listing(fd);
    if (const QByteArray gone = randomName(pick); pick(8) == 0 && !before.contains(gone))
        files.insert(pick(unsigned(files.size()) + 1), gone); // listed but gone since

    FakeMessageBoxes boxes;
    FakeResultList results;
    BatchState serial;
    ConversionState conversion;
    bool confirmed = false;
    std::unique_ptr<BatchJob> job;
    if (const unsigned kind = pick(4); kind == 0) {
        static const char *const starts[] = {"1",  "01",  "001", "0", "9",
                                             "99", "2.5", "-3",  "",  "9e300"};
        // Now and then a pattern that would leave the folder, or make names of megabytes.
        static const QByteArrayList odd = QByteArray("/|../|.|..|\0|#", 14).split('|');
        QByteArray pattern = randomName(pick);
        for (unsigned n = pick(4); n > 0; --n)
            pattern.insert(pick(unsigned(pattern.size()) + 1), '#');
        if (pick(8) == 0)
            pattern.insert(pick(unsigned(pattern.size()) + 1),
                           odd[pick(unsigned(odd.size()))].repeated(pick(2) ? 1 : 3000));
        job = startSerialRename(pattern, QString::fromLatin1(starts[pick(10)]), folder, files,
                                results, boxes, serial);
    } else if (kind == 1) {
        job = startConvertFolder(folder, files, boxes, conversion, &confirmed);
    } else if (kind == 2) {
        job = startConvertSelected(folder, files.value(pick(unsigned(files.size()))),
                                   QString::fromUtf8(randomName(pick)), boxes, conversion);
    } else {
        // Targets taken from the folder's own names make chains, rings and names in the way.
        QByteArrayList to;
        for (qsizetype i = 0; i < files.size(); ++i)
            to.append(before.empty() || pick(3) == 0
                          ? randomName(pick)
                          : std::next(before.begin(), pick(before.size()))->first);
        job = std::make_unique<BatchJob>(
            folder, files, [to](qsizetype i, const QByteArray &) { return to[i]; },
            BatchJob::Options{.refuseOnProblem = pick(2) == 0, .stopAtFirstFailure = pick(2) == 0});
    }

    // Where every entry belongs: files reported moved at their new names, all else as it was.
    QHash<QByteArray, QByteArray> placed;
    if (job)
        job->prepare();
    if (const QString broken = job ? job->plan().checkInvariants() : QString(); !broken.isEmpty())
        return u"the plan breaks an invariant: "_s + broken;
    if (job && job->stage() == BatchJob::Stage::Ready)
        job->execute();
    for (size_t i = 0; job && i < job->results().size(); ++i)
        if (const PlannedRename &rename = job->plan().renames[qsizetype(i)];
            job->results()[i].outcome == RenameResult::Outcome::Done)
            placed[rename.from] = rename.to;
    Listing expected;
    for (const auto &[name, content] : before)
        expected[placed.value(name, name)] = content;
    Listing found = listing(fd);
    const char *when = "after the batch";
    if (found == expected && job && job->total() > 0) {
        job.reset(); // it holds the folder open
        if (beforeUndo) {
            ::close(fd);
            beforeUndo();
            fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
        }
        Undo undo;
        undo.prepare();
        undo.execute();
        found = listing(fd);
        expected = before;
        when = "after its undo";
    }
    QString text;
    if (found != expected)
        QDebug(&text) << when << "\nbefore" << before << "\nexpected" << expected << "\nfound"
                      << found;
    return text;
}

} // namespace

QString randomBatch(const Pick &pick, const QByteArray &parent,
                    const std::function<void()> &beforeUndo)
{
    const TestDir dir(parent);
    int fd = ::open(dir.nativePath().constData(), O_RDONLY | O_DIRECTORY);
    const QString problem = check(fd, dir.nativePath(), pick, beforeUndo);
    ::close(fd);
    return problem;
}

} // namespace tolvane::test
