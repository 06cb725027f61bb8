#include "engine/batch/batchjob.h"
#include "engine/batch/batchreport.h"
#include "engine/batch/journal.h"
#include "engine/batch/treejob.h"
#include "engine/batch/undo.h"
#include "platform/filecalls.h"
#include "platform/filemover.h"
#include "platform/quitsignal.h"
#include "support/rows.h"
#include "support/statehome.h"
#include "support/testdir.h"
#include "support/testmount.h"

#include <QDir>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <map>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tolvane;
using namespace Qt::StringLiterals;
using Kind = test::TestMount::Kind;

namespace {

// Acts right after the n-th no-replace rename of the test.
std::function<void()> g_act;
int g_countdown = 0;
int countingRename(int from, const char *a, int to, const char *b, unsigned int flags)
{
    const int result = ::renameat2(from, a, to, b, flags);
    if (--g_countdown == 0)
        g_act();
    return result;
}

// Every entry below a folder (folders too, not into other file systems) as a path inside it.
QByteArrayList treeNames(const QByteArray &folder, const QByteArray &below = {})
{
    QByteArrayList found;
    for (const QByteArray &name : test::TestDir::namesIn(folder + '/' + below)) {
        const QByteArray path = below.isEmpty() ? name : below + '/' + name;
        found.append(path);
        struct stat st;
        if (::lstat(folder + '/' + path, &st) == 0 && S_ISDIR(st.st_mode))
            found += treeNames(folder, path);
    }
    std::sort(found.begin(), found.end());
    return found;
}

// One row's folder, on the file system its tag names, what its files should still hold, and
// the faults to lift after the batch (a journal that could not be written needs none).
struct Scene
{
    Scene(const QByteArray &tag, const QByteArrayList &files) : tree(tag.contains("tree"))
    {
        static const std::map<QByteArray, Kind> kinds{{"ext4", Kind::Ext4},
                                                      {"exFAT", Kind::Exfat},
                                                      {"NTFS", Kind::Ntfs},
                                                      {"bindfs", Kind::Bindfs},
                                                      {"sshfs", Kind::Sshfs}};
        if (const auto kind = kinds.find(tag.left(tag.indexOf(':'))); kind != kinds.end())
            folder = mount(kind->second).path();
        if (!skip.isEmpty())
            return;
        dir = std::make_unique<test::TestDir>(folder);
        folder = dir->nativePath();
        dir->create(files);
        expected = contents();
    }
    // A tree row's folder lists its whole tree, and counts the contents of its files.
    QByteArrayList names() const { return tree ? treeNames(folder) : dir->names(); }
    std::map<QByteArray, int> contents() const
    {
        if (!tree)
            return dir->contents();
        std::map<QByteArray, int> found;
        for (const QByteArray &name : treeNames(folder))
            if (QFileInfo(QFile::decodeName(path(name.constData()))).isFile())
                ++found[dir->content(name)];
        return found;
    }
    ~Scene() { lift(); }
    QByteArray path(const char *name) const { return folder + '/' + name; }
    const test::TestMount &mount(Kind kind, const QByteArray &source = {})
    {
        mounts.push_back(std::make_unique<test::TestMount>(kind, source));
        skip += mounts.back()->skipReason();
        return *mounts.back();
    }
    void lift()
    {
        for (; !lifts.empty(); lifts.pop_back())
            lifts.back()();
    }
    void intrude(const char *name)
    {
        dir->createFile(name, "intruder");
        ++expected["intruder"];
    }

    // The faults, as the system or another process brings them about.
    void readOnly() { folder = mount(Kind::ReadOnly, folder).path(); }
    void makeImmutable() { makeImmutable("03.txt"); }
    void makeLastImmutable() { makeImmutable("06.txt"); }
    void makeImmutable(const char *name)
    {
        const auto chattr = [file = QFile::decodeName(path(name))](const QString &flag) {
            QString error;
            test::runTool(u"chattr"_s, {flag, file}, error);
        };
        chattr(u"+i"_s);
        lifts.push_back([chattr] { chattr(u"-i"_s); });
    }
    void deleteB()
    {
        ::unlink(path("b"));
        expected.erase("b");
    }
    void renameB() { ::rename(path("b"), path("b.moved")); }
    void takeY() { intrude("y"); }
    void takeCapitalY() { intrude("Y"); }
    void renameAndReplace()
    {
        ::rename(path("x"), path("x.moved"));
        ::rename(path("y"), path("y.old"));
        intrude("y");
    }
    void renameFolder()
    {
        ::rename(folder, folder + "-moved");
        lifts.push_back([this] { ::rename(folder + "-moved", folder); });
    }
    void removeFolder()
    {
        QDir(QFile::decodeName(folder)).removeRecursively();
        expected.clear();
    }
    void changeY()
    {
        test::writeFile(path("y"), "b, changed");
        expected.erase("b");
        ++expected["b, changed"];
    }
    // The folder's path now leads to another folder, which holds files of the same names.
    void swapFolderForLink()
    {
        const QByteArray moved = folder + "-moved", other = QFile::encodeName(scratch.path());
        for (const char *name : {"a", "b", "c", "x", "y", "z"})
            test::writeFile(other + '/' + name, "other");
        ::rename(folder, moved);
        ::symlink(other, folder);
        lifts.push_back([this, moved, other] {
            ::unlink(folder);
            ::rename(moved, folder);
            QCOMPARE(test::TestDir::namesIn(other), test::names("a|b|c|x|y|z"));
        });
    }
    // A newer journal than the batch's, put there by someone else.
    void plant(const std::function<void(const QByteArray &)> &make)
    {
        const QByteArray path = Journal::folder() + "/99991231-235959-999-1-00.journal";
        make(path);
        lifts.push_back([path] { ::unlink(path); });
    }
    void plantEscape()
    {
        plant([this](const QByteArray &path) {
            struct stat st;
            ::stat(this->path("x"), &st);
            test::writeFile(path, "tolvane-journal 1\nfolder\t" + folder +
                                      "\nstem\t.tolvane-x\n0\t" + QByteArray::number(st.st_dev) +
                                      '\t' + QByteArray::number(st.st_ino) + "\t../x\tx\n");
        });
    }
    void plantFifo()
    {
        plant([](const QByteArray &at) { ::mkfifo(at, 0600); });
    }
    void plantEndless()
    {
        plant([](const QByteArray &at) { ::symlink("/dev/zero", at); });
    }
    void linkStateFolder()
    {
        const QByteArray open = QFile::encodeName(scratch.path()) + "/open";
        ::mkdir(open, 0777);
        ::chmod(open, 0777);
        ::symlink(open, QFile::encodeName(scratch.path()) + "/tolvane");
        qputenv("XDG_STATE_HOME", QFile::encodeName(scratch.path()));
    }
    void fillStateHome()
    {
        const QByteArray home = mount(Kind::Tmpfs).path();
        const int fd = ::open(home + "/filler", O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        while (::write(fd, QByteArray(4096, 'f').constData(), 4096) > 0) {
        }
        ::close(fd);
        qputenv("XDG_STATE_HOME", home);
    }
    void plantTreeEscape()
    {
        plant([this](const QByteArray &path) {
            test::writeFile(path, "tolvane-journal 3\nfolder\t" + folder +
                                      "\nstem\t.tolvane-x\nblock\td/..\n0\t1\t0\t0\tx\ty\n");
        });
    }
    // A file system of its own on the tree's folder d/m.
    void mountInside()
    {
        ::mount("tmpfs", path("d/m"), "tmpfs", 0, "size=64k");
        lifts.push_back([this] { ::umount(path("d/m")) == 0 || ::umount(path("x/m")); });
    }
    void stateHomeFile() { qputenv("XDG_STATE_HOME", path("a")); }
    void cancel() { treeJob ? treeJob->cancel() : job->cancel(); }
    void terminate() { ::raise(SIGTERM); }
    void kill() { ::raise(SIGKILL); }

    test::StateHome state;
    QTemporaryDir scratch; // outside the folder, removed with the scene
    std::vector<std::unique_ptr<test::TestMount>> mounts;
    std::unique_ptr<test::TestDir> dir;
    QByteArray folder; // the folder, by the path the batch takes
    bool tree;
    std::map<QByteArray, int> expected;
    std::vector<std::function<void()>> lifts;
    BatchJob *job = nullptr;
    TreeJob *treeJob = nullptr;
    QString skip;
};

using Act = void (Scene::*)();
constexpr int afterBatch = 1000, beforeUndo = 1001;

// What the user is told: why nothing moved, which files keep their names, how far it got.
QString runHere(Scene &s, const QByteArrayList &from, const QByteArrayList &to, int at, Act act,
                bool &moved)
{
    BatchJob batch(s.folder, from, [to](qsizetype i, const QByteArray &) { return to[i]; }, {});
    s.job = &batch;
    batch.prepare();
    if (at == 0)
        (s.*act)();
    g_countdown = at;
    g_act = [&] { (s.*act)(); };
    if (batch.stage() == BatchJob::Stage::Ready)
        batch.execute();
    g_countdown = 0;
    if (at == afterBatch)
        (s.*act)();
    moved = !batch.results().empty() &&
            std::any_of(batch.results().cbegin(), batch.results().cend(), [](const auto &r) {
                return r.outcome == RenameResult::Outcome::Done ||
                       r.outcome == RenameResult::Outcome::Stranded;
            });
    QStringList lines = BatchReport::problemLines(batch) << BatchReport::notStarted(batch);
    if (batch.cancelled())
        lines.append(BatchReport::progress(batch));
    return lines.join(u'\n');
}

// A tree: each name of a path is given the name at the same place of its new path.
QString runTree(Scene &s, const QByteArrayList &from, const QByteArrayList &to, int at, Act act,
                bool &moved)
{
    QHash<QByteArray, QByteArray> names;
    for (qsizetype i = 0; i < from.size(); ++i)
        for (qsizetype n = 0; n < from[i].count('/') + 1; ++n)
            names.insert(from[i].split('/')[n], to[i].split('/')[n]);
    TreeJob tree(FolderHandle::open(s.folder),
                 [names](const QByteArray &name) { return names.value(name, name); },
                 {.folders = true});
    s.treeJob = &tree;
    tree.prepare();
    if (at == 0)
        (s.*act)();
    g_countdown = at;
    g_act = [&] { (s.*act)(); };
    tree.execute();
    g_countdown = 0;
    if (at == afterBatch)
        (s.*act)();
    moved = tree.done() > 0;
    QStringList lines = tree.problemLines() << tree.notStarted() << tree.skippedText();
    if (tree.cancelled())
        lines.append(QString::number(tree.done()) + u" of "_s + QString::number(tree.total()));
    return lines.join(u'\n').trimmed();
}

// What `run` tells, run in a child process, which may be killed on the way.
QString inChild(const std::function<QString()> &run)
{
    int told[2];
    if (::pipe(told) != 0)
        return u"no pipe"_s;
    const pid_t child = ::fork();
    if (child == 0) {
        QuitSignal::install();
        const QByteArray text = run().toUtf8();
        ::_exit(::write(told[1], text.constData(), size_t(text.size())) < 0);
    }
    ::close(told[1]);
    ::waitpid(child, nullptr, 0);
    QFile said;
    said.open(told[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    return QString::fromUtf8(said.readAll());
}

// Where the folder lists the names and nothing else, each holds what the file of that place in
// `held` held: a count of contents would pass files that swapped names.
void checkHeld(const test::TestDir &dir, const QByteArrayList &names, const QByteArrayList &held)
{
    QByteArrayList sorted = names;
    std::sort(sorted.begin(), sorted.end());
    for (qsizetype i = 0; dir.names() == sorted && i < names.size(); ++i)
        QCOMPARE(dir.content(names[i]), held[i]);
}

} // namespace

Q_DECLARE_METATYPE(Act)

// Batches without and with faults of the file system and other processes before, during and
// after them: what the user is told, that no file's content is lost, and that the journal undoes
// what was done.
class TestFaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        FileCalls calls = systemFileCalls();
        calls.renameat2 = countingRename;
        setFileCalls(calls);
    }
    void cleanupTestCase() { setFileCalls(systemFileCalls()); }

    void faults_data()
    {
        QTest::addColumn<QByteArrayList>("from");
        QTest::addColumn<QByteArrayList>("to");
        // -1 before the plan, 0 before the moves, n after n renames, or one of the two above
        QTest::addColumn<int>("at");
        QTest::addColumn<Act>("act");
        QTest::addColumn<QString>("told"); // by the batch and the undo; empty when all went well
        QTest::addColumn<QByteArrayList>("moved"); // the folder's names after the batch
        QTest::addColumn<QByteArrayList>("undone");
        const auto row = [](const char *tag, const QByteArray &from, const QByteArray &to, int at,
                            const Act &act, const char *told, const QByteArray &moved,
                            const QByteArray &undone) {
            QTest::newRow(tag) << test::names(from) << test::names(to) << at << act
                               << QString::fromUtf8(told) << test::names(moved)
                               << test::names(undone);
        };
        const QByteArray abc = "a|b|c", xyz = "x|y|z", ring = "a|b|c|d|e|f|g";
        const QByteArray five = "01.txt|02.txt|03.txt|04.txt|05.txt";
        const QByteArray up = "02.txt|03.txt|04.txt|05.txt|06.txt";
        const QByteArray max(255, 'x'), chinese = QString(85, u'字').toUtf8(); // 255 bytes
        const char *gone = "文件或文件夹不存在", *taken = "已有同名的文件或文件夹";
        const char *damaged = "改名记录已损坏";
        // No fault: the moves free each name before it is taken, rings through a temporary one.
        // "remounted": the image goes to another loop device and mount point before the undo.
        const QByteArray down = "01.txt|02.txt|03.txt", middle = "02.txt|03.txt|04.txt";
        const QByteArray swap = "a|b|x|y", photo = "photo01.jpg", photos = "photo01.jpg|x.TXT";
        const QByteArray cases = "A.txt|a.txt", newCases = "B.txt|b.txt";
        row("shift up", five, up, -1, {}, "", up, five);
        row("shift down", middle, down, -1, {}, "", down, middle);
        row("ring of three", abc, "b|c|a", -1, {}, "", abc, abc);
        row("swap beside a chain", swap, "b|a|y|z", -1, {}, "", "a|b|y|z", swap);
        row("case only, case-sensitive", photo, "Photo01.jpg", -1, {}, "", "Photo01.jpg", photo);
        row("already named so", "a|b", "a|c", -1, {}, "", "a|c", "a|b");
        row("ext4: shift up, remounted", five, up, -1, {}, "", up, five);
        row("exFAT: shift up, remounted", five, up, -1, {}, "", up, five);
        row("exFAT: case only", photos, "Photo01.jpg|X.txt", -1, {}, "", "Photo01.jpg|X.txt",
            photos);
        // A rename gives the file a new inode number there: files are known by size and time.
        row("sshfs: ring of three", abc, "b|c|a", -1, {}, "", abc, abc);
        row("NTFS: names that differ in case only", cases, newCases, -1, {}, "", newCases, cases);
        row("bindfs: names that differ in case only", cases, newCases, -1, {}, "", newCases, cases);

        row("read-only folder", abc, xyz, -1, &Scene::readOnly, "文件系统是只读的", abc, abc);
        row("ext4: an immutable file, known before the moves", five, up, -1, &Scene::makeImmutable,
            "被设为不可更改", "01.txt|02.txt|03.txt|05.txt|06.txt", five);
        row("ext4: a file made immutable mid-batch", five, up, 2, &Scene::makeImmutable,
            "不允许这样操作", "01.txt|02.txt|03.txt|05.txt|06.txt", five);
        // The undo moves back what it can; the rest waits for the next undo.
        row("ext4: a file made immutable before the undo", five, up, beforeUndo,
            &Scene::makeLastImmutable, "还有 1 个文件没有恢复原名", up, five);
        row("a source deleted before the moves", abc, xyz, 0, &Scene::deleteB, gone, "x|z", "a|c");
        row("a source renamed before the moves", abc, xyz, 0, &Scene::renameB, gone, "b.moved|x|z",
            "a|b.moved|c");
        row("a target taken before the moves", abc, xyz, 0, &Scene::takeY, taken, "b|x|y|z",
            "a|b|c|y");
        row("the only move fails", "b", "y", 0, &Scene::takeY, taken, "b|y", "b|y");
        row("exFAT: a target taken in another case before the moves", abc, xyz, 0,
            &Scene::takeCapitalY, taken, "Y|b|x|z", "Y|a|b|c");
        row("files renamed and replaced after the batch", abc, xyz, afterBatch,
            &Scene::renameAndReplace, "文件已被删除、改名或替换", "x.moved|y|y.old|z",
            "c|x.moved|y|y.old");
        row("exFAT: a file changed after the batch, remounted", abc, xyz, beforeUndo,
            &Scene::changeY, "文件在改名后被改动过", xyz, "a|c|y");
        row("the folder renamed mid-batch", five, up, 2, &Scene::renameFolder, "", up, five);
        row("the folder removed mid-batch", five, up, 2, &Scene::removeFolder, gone, "", "");
        row("the folder swapped for a link before the moves", abc, xyz, 0,
            &Scene::swapFolderForLink, "", xyz, abc);
        row("the folder swapped for a link before the undo", abc, xyz, beforeUndo,
            &Scene::swapFolderForLink, "找不到改名时的文件夹", xyz, abc);
        row("journal on a full file system", "a", "b", -1, &Scene::fillStateHome, "磁盘空间不足",
            "a", "a");
        row("journal folder unwritable", "a", "b", -1, &Scene::stateHomeFile, "不是文件夹", "a",
            "a");
        row("journal folder a link to a folder anybody may write", "a", "b", -1,
            &Scene::linkStateFolder, "不是只属于你的文件夹", "a", "a");
        // Planted newer than the batch's: never acted on, never hanging.
        row("a journal leading out of the folder", abc, xyz, beforeUndo, &Scene::plantEscape,
            damaged, xyz, abc);
        row("a journal that is a pipe", abc, xyz, beforeUndo, &Scene::plantFifo, damaged, xyz, abc);
        row("a journal linked to an endless device", abc, xyz, beforeUndo, &Scene::plantEndless,
            damaged, xyz, abc);
        row("names of 255 and 256 bytes", "a|b|c|d",
            max + '|' + QByteArray(256, 'y') + '|' + chinese + '|' + chinese + "字", -1, {},
            "新文件名太长", "b|d|" + max + '|' + chinese, "a|b|c|d");
        row("names with \"/\" stay in the folder", "a|b", "../a|sub/b", -1, {}, "不能含有“/”",
            "a|b", "a|b");
        // A batch stops only after a ring; a killed one leaves a temporary name to the undo.
        const QByteArray ringTo = "b|c|a|x|y|g|f", ringStopped = "a|b|c|f|g|x|y";
        const char *stopped = "已改名 5 个文件（共 7 个）";
        row("cancelled mid-ring", ring, ringTo, 3, &Scene::cancel, stopped, ringStopped, ring);
        row("SIGTERM mid-ring", ring, ringTo, 3, &Scene::terminate, stopped, ringStopped, ring);
        row("SIGKILL mid-ring", ring, ringTo, 3, &Scene::kill, "", ".tolvane-*|b|c|f|g|x|y", ring);
        row("ext4: SIGKILL mid-ring, remounted", ring, ringTo, 3, &Scene::kill, "",
            ".tolvane-*|b|c|f|g|x|y", ring);
        // Trees: "d/" is a folder, "l@" a link to "a"; names after the batch are paths.
        const QByteArray tree = "c|d/|d/a|d/e/|d/e/b", treeTo = "w|x/|x/y|x/f/|x/f/z";
        const QByteArray treeMoved = "w|x|x/f|x/f/z|x/y", treeNamesBefore = "c|d|d/a|d/e|d/e/b";
        row("tree: files and folders, children first", tree, treeTo, -1, {}, "", treeMoved,
            treeNamesBefore);
        row("exFAT: tree, folder times changed by their files' moves, remounted", tree, treeTo, -1,
            {}, "", treeMoved, treeNamesBefore);
        row("ext4: tree, remounted", tree, treeTo, -1, {}, "", treeMoved, treeNamesBefore);
        row("tree: a conflict deep down moves nothing", tree + "|d/e/g", treeTo + "|x/f/z", -1, {},
            "另一个文件也要改成这个名字", treeNamesBefore + "|d/e/g", treeNamesBefore + "|d/e/g");
        row("tree: a link is neither followed nor renamed", "a/|a/b|l@", "x/|x/y|q@", -1, {}, "",
            "l|x|x/y", "a|a/b|l");
        row("tree: another file system inside is left alone", "d/|d/m/|d/a", "x/|x/q/|x/y", -1,
            &Scene::mountInside, "另一个文件系统上", "x|x/m|x/y", "d|d/a|d/m");
        row("tree: cancelled after the deepest folder", tree, treeTo, 1, &Scene::cancel, "1 of 5",
            "c|d|d/a|d/e|d/e/z", treeNamesBefore);
        row("tree: a journal leading out of the tree", tree, treeTo, beforeUndo,
            &Scene::plantTreeEscape, damaged, treeMoved, treeNamesBefore);
    }

    void faults()
    {
        QFETCH(QByteArrayList, from);
        QFETCH(QByteArrayList, to);
        QFETCH(int, at);
        QFETCH(Act, act);
        QFETCH(QString, told);
        const QByteArray tag = QTest::currentDataTag();
        Scene s(tag, from);
        if (s.skip.isEmpty() && at < 0 && act)
            (s.*act)();
        if (!s.skip.isEmpty())
            QSKIP(qPrintable(s.skip));

        // The signals are for a child with a batch of its own.
        bool moved = true;
        const auto run = [&] {
            return s.tree ? runTree(s, from, to, at, act, moved)
                          : runHere(s, from, to, at, act, moved);
        };
        QString said = tag.startsWith("SIG") || tag.contains("SIGKILL") ? inChild(run) : run();
        s.lift();
        QByteArrayList names = s.names();
        for (QByteArray &name : names)
            name = name.startsWith(".tolvane-") ? QByteArray(".tolvane-*") : name;
        QTEST(names, "moved");
        if (told.isEmpty() && !s.tree)
            checkHeld(*s.dir, to, from);
        if (at != beforeUndo)
            QCOMPARE(s.contents(), s.expected);

        // Whatever stopped the first undo (a fault, another mount), the next one after it is
        // lifted undoes the rest.
        if (at == beforeUndo)
            (s.*act)();
        const bool remounted = tag.contains("remounted");
        if (remounted)
            QCOMPARE(s.mounts.front()->remount(true), QString());
        for (int round = 0; round < 2; ++round) {
            bool finished = false;
            {
                Undo undo; // holds the folder open while it lives
                undo.prepare();
                // A batch that moved nothing leaves nothing to undo.
                if (!moved)
                    QVERIFY(undo.stage() != Undo::Stage::Ready);
                undo.execute();
                said +=
                    u'\n' + (undo.problemLines() << undo.error() << undo.leftText()).join(u'\n');
                finished = undo.stage() == Undo::Stage::Ran && undo.left() == 0;
            }
            if (round == 0 && remounted)
                QCOMPARE(s.mounts.front()->remount(false), QString());
            s.lift();
            if (finished)
                break;
        }
        said = said.trimmed();
        QVERIFY2(said.contains(told) && said.isEmpty() == told.isEmpty(), qPrintable(said));
        QTEST(s.names(), "undone");
        if (!s.tree)
            checkHeld(*s.dir, from, from);
        QCOMPARE(s.contents(), s.expected);
        // The ways learnt carry over from row to row, as in one run, each for its own file
        // system alone: the loop device that held one row's exFAT stick may hold the next one's
        // ext4.
        // FUSE drivers differ in what they allow: their rows ask the mount itself.
        const bool fuse =
            QByteArrayList{"exFAT", "NTFS", "bindfs", "sshfs"}.contains(tag.left(tag.indexOf(':')));
        QCOMPARE(FileMover(s.folder).way(),
                 fuse ? test::probeWay(s.folder) : FileMover::Way::NoReplace);
    }
};

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_faults.moc"
