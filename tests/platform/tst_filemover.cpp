#include "platform/filecalls.h"
#include "platform/filemover.h"
#include "support/rows.h"
#include "support/testdir.h"

#include <QScopeGuard>
#include <QTest>
#include <cerrno>
#include <utility>

using namespace tolvane;
using tolvane::test::names;
using tolvane::test::TestDir;
using Way = FileMover::Way;

namespace {

// What the faked system calls do besides calling the real ones.
struct Fake
{
    QList<int> refusals; // errno of every renameat2, every linkat, unlinking the old name "a"
    TestDir *dir = nullptr;
    QByteArray intruder; // made in dir by another process just before the next rename or link
};

Fake g_fake;
const FileCalls g_real = systemFileCalls();

int refuse(int error)
{
    errno = error;
    return -1;
}

void enter()
{
    if (!g_fake.intruder.isEmpty())
        g_fake.dir->createFile(std::exchange(g_fake.intruder, {}), "intruder");
}

const FileCalls g_fakes{
    [](int fromFolder, const char *from, int toFolder, const char *to, unsigned int flags) {
        enter();
        return g_fake.refusals[0] ? refuse(g_fake.refusals[0])
                                  : g_real.renameat2(fromFolder, from, toFolder, to, flags);
    },
    [](int fromFolder, const char *from, int toFolder, const char *to) {
        enter();
        return g_real.renameat(fromFolder, from, toFolder, to);
    },
    [](int fromFolder, const char *from, int toFolder, const char *to, int flags) {
        enter();
        return g_fake.refusals[1] ? refuse(g_fake.refusals[1])
                                  : g_real.linkat(fromFolder, from, toFolder, to, flags);
    },
    [](int folder, const char *name, int flags) {
        return qstrcmp(name, "a") == 0 && g_fake.refusals[2] ? refuse(g_fake.refusals[2])
                                                             : g_real.unlinkat(folder, name, flags);
    },
    ::fstatat,
};

} // namespace

class TestFileMover : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every case through each way, forced by a file system that refuses the ways before it, and
    // which refusals send the mover, and a new one on the same file system, down to which way.
    void move_data()
    {
        QTest::addColumn<QList<int>>("refusals"); // errno of renameat2, linkat, unlinking "a"
        QTest::addColumn<Way>("way");
        QTest::addColumn<QByteArrayList>("files"); // a trailing "/" makes a folder
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<int>("error");
        QTest::addColumn<QByteArrayList>("after");
        QTest::addColumn<QByteArray>("intruder");
        QTest::addColumn<QByteArray>("folder"); // added to the test folder's path
        const QByteArrayList a{"a"}, b{"b"}, both{"a", "b"};
        const auto refused = [](const char *name, const QList<int> &refusals, int error, Way way) {
            QTest::newRow(name) << refusals << way << QByteArrayList{"a"} << QByteArray("a")
                                << QByteArray("b") << error << names(error ? "a" : "b")
                                << QByteArray() << QByteArray();
        };
        const auto row = [](const QByteArray &name, Way way, const QByteArrayList &files,
                            const QByteArray &from, const QByteArray &to, int error,
                            const QByteArrayList &after, const QByteArray &intruder = {},
                            const QByteArray &folder = {}) {
            const QList<int> refusals{way == Way::NoReplace ? 0 : EINVAL,
                                      way == Way::CheckThenRename ? EPERM : 0, 0};
            QTest::newRow(name.constData())
                << refusals << way << files << from << to << error << after << intruder << folder;
        };
        for (const Way way : {Way::NoReplace, Way::Link, Way::CheckThenRename}) {
            const QByteArray n = QByteArrayList{"no-replace: ", "link: ", "check: "}[int(way)];
            const bool link = way == Way::Link, check = way == Way::CheckThenRename;
            row(n + "plain", way, a, "a", "b", 0, b);
            row(n + "target exists", way, both, "a", "b", EEXIST, both);
            row(n + "missing source", way, a, "gone", "b", ENOENT, a);
            row(n + "a name with \"/\" would leave the folder", way, {"a", "d/"}, "a", "d/../../b",
                EINVAL, {"a", "d"});
            row(n + "raw bytes", way, {"\xff\n x"}, "\xff\n x", "\xfe y", 0, {"\xfe y"});
            row(n + "empty source", way, a, "", "b", EINVAL, a);
            row(n + "NUL in target is not cut", way, a, "a", QByteArray("b\0c", 3), EINVAL, a);
            row(n + "same name", way, a, "a", "a", 0, a);
            row(n + "same name, missing", way, a, "b", "b", ENOENT, a);
            // Only files can be linked: a folder gets the refused rename's error.
            row(n + "folder", way, {"a/"}, "a", "b", link ? EINVAL : 0, link ? a : b);
            // The one window left: a target made between the check and the rename is replaced.
            row(n + "target appears just before the move", way, a, "a", "b", check ? 0 : EEXIST,
                check ? b : both, "b");
        }
        row("missing folder", Way::NoReplace, a, "a", "b", ENOENT, a, {}, "/missing");
        row("NUL in the folder's path", Way::NoReplace, a, "a", "b", EINVAL, a, {},
            QByteArray("\0/x", 3));
        refused("ENOTTY, EMLINK: check", {ENOTTY, EMLINK, 0}, 0, Way::CheckThenRename);
        refused("other rename errors are final", {EXDEV, 0, 0}, EXDEV, Way::NoReplace);
        refused("other link errors are final", {EINVAL, EXDEV, 0}, EXDEV, Way::Link);
        // The new name is taken back: the file keeps its old one, and only that.
        refused("old name cannot be removed", {EINVAL, 0, EBUSY}, EBUSY, Way::Link);
    }

    void move()
    {
        QFETCH(QList<int>, refusals);
        QFETCH(Way, way);
        QFETCH(QByteArrayList, files);
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(int, error);
        QFETCH(QByteArray, intruder);
        QFETCH(QByteArray, folder);
        TestDir dir;
        dir.create(files);
        auto before = dir.contents();
        if (!intruder.isEmpty() && error != 0)
            ++before["intruder"];

        g_fake = {refusals, nullptr, {}};
        setFileCalls(g_fakes);
        // The real calls, and a process that has learnt nothing, for the next row.
        const auto real = qScopeGuard([] { setFileCalls(g_real); });
        // Another folder on the same file system teaches the process the way.
        TestDir other;
        other.createFile("w");
        FileMover(other.nativePath()).move("w", "x");
        FileMover mover(dir.nativePath() + folder);
        QCOMPARE(mover.way(), folder.isEmpty() ? way : Way::NoReplace);
        g_fake.dir = &dir;
        g_fake.intruder = intruder;
        const FileMover::Result result = mover.move(from, to);
        QCOMPARE(result.ok, error == 0);
        QCOMPARE(result.error, error);
        QTEST(dir.names(), "after");
        QCOMPARE(dir.contents(), before);
    }
};

QTEST_GUILESS_MAIN(TestFileMover)
#include "tst_filemover.moc"
