#include "engine/batchjob.h"
#include "engine/undo.h"
#include "platform/filecalls.h"
#include "support/exfatmount.h"
#include "support/rows.h"
#include "support/statehome.h"
#include "support/testdir.h"

#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tolvane;
using namespace Qt::StringLiterals;

namespace {

BatchJob job(const test::TestDir &dir, const QByteArrayList &from, const QByteArrayList &to)
{
    return BatchJob(dir.nativePath(), from, [to](qsizetype i, const QByteArray &) { return to[i]; },
                    {});
}

QByteArray problemCodes(const BatchPlan &plan)
{
    static const char *const names[] = {"ok",       "missing", "empty",  "dot",  "nul",   "long",
                                        "nofolder", "file",    "folder", "link", "other", "same"};
    QByteArrayList out;
    for (const PlannedRename &r : plan.renames)
        out.append(names[int(r.problem)]);
    return out.join('|');
}

// Acts on the n-th rename a mover makes, right after it.
int g_renames = 0;
int g_actAt = 0;
std::function<void()> g_act;
int countingRename(int from, const char *a, int to, const char *b, unsigned int flags)
{
    const int result = ::renameat2(from, a, to, b, flags);
    if (++g_renames == g_actAt)
        g_act();
    return result;
}

struct ActAfterRenames
{
    ActAfterRenames(int n, std::function<void()> act)
    {
        g_renames = 0;
        g_actAt = n;
        g_act = std::move(act);
        FileCalls calls = systemFileCalls();
        calls.renameat2 = countingRename;
        setFileCalls(calls);
    }
    ~ActAfterRenames() { setFileCalls(systemFileCalls()); }
};

QByteArrayList numbered(int count)
{
    QByteArrayList names;
    for (int i = 1; i <= count; ++i)
        names.append(QByteArray::number(i).rightJustified(3, '0') + ".txt");
    return names;
}

} // namespace

class TestBatch : public QObject
{
    Q_OBJECT
    test::StateHome m_state;
    std::unique_ptr<test::ExfatMount> m_stick;

    // A folder on this machine's file system, or for rows named "exFAT: …" on a USB stick's
    // exFAT: no no-replace rename, no links, one file answering to every spelling of its name.
    // None where the stick cannot be made.
    std::unique_ptr<test::TestDir> folder()
    {
        if (!QByteArray(QTest::currentDataTag()).startsWith("exFAT"))
            return std::make_unique<test::TestDir>();
        if (!m_stick)
            m_stick = std::make_unique<test::ExfatMount>();
        return m_stick->ready() ? std::make_unique<test::TestDir>(m_stick->path()) : nullptr;
    }

private Q_SLOTS:
    // What the plan finds before any move; files marked "/" are folders, "@" links.
    void problems_data()
    {
        QTest::addColumn<QByteArrayList>("present");
        QTest::addColumn<QByteArrayList>("from");
        QTest::addColumn<QByteArrayList>("to");
        QTest::addColumn<QByteArray>("expected");
        const auto row = [](const char *name, const QByteArray &present, const QByteArray &from,
                            const QByteArray &to, const QByteArray &expected) {
            QTest::newRow(name) << test::names(present) << test::names(from) << test::names(to)
                                << expected;
        };
        const QByteArray max(255, 'x'), over(256, 'y');
        const QByteArray chinese = QString(85, u'字').toUtf8(); // 255 bytes
        row("taken by a folder, a link, a file", "a|b|c|D/|L@|F", "a|b|c", "D|L|F",
            "folder|link|file");
        row("two given one name", "乾.txt|幹.txt", "乾.txt|幹.txt", "干.txt|干.txt", "same|same");
        row("255 bytes fit, 256 do not", "a|b|c|d", "a|b|c|d",
            max + '|' + over + '|' + chinese + '|' + chinese + "字", "ok|long|ok|long");
        row("dot names, empty, NUL", "a|b|c|d", "a|b|c|d", QByteArray("..|.|sub/..|x\0y", 14),
            "dot|dot|dot|nul");
        row("empty name", "a", "a", "", "empty");
        row("gone since listed", "a", "gone|a", "x|y", "missing|ok");
        row("missing subfolder", "a|d/", "a|d", "no/a|d/x", "nofolder|ok");
        row("names freed by the batch", "01|02|03", "01|02|03", "02|03|04", "ok|ok|ok");
        row("waiting on a file that stays", "a|b|c", "a|b|c", "b|c|c", "file|file|ok");
        row("chain behind a folder", "a|b|D/", "a|b", "b|D", "file|folder");
        row("exFAT: another file's name in another case", "a|B", "a", "b", "file");
        row("exFAT: two names that differ in case only", "a|c", "a|c", "X|x", "same|same");
    }
    void problems()
    {
        QFETCH(QByteArrayList, present);
        QFETCH(QByteArrayList, from);
        QFETCH(QByteArrayList, to);
        const auto made = folder();
        if (!made)
            QSKIP(qPrintable(m_stick->skipReason()));
        test::TestDir &dir = *made;
        const int fd = ::open(dir.nativePath(), O_PATH);
        for (const QByteArray &name : present) {
            if (name.endsWith('/'))
                dir.createFolder(name.chopped(1));
            else if (name.endsWith('@'))
                QCOMPARE(::symlinkat("a", fd, name.chopped(1).constData()), 0);
            else
                dir.createFile(name);
        }
        ::close(fd);
        if (to.size() < from.size())
            to.append(QByteArray());
        const BatchPlan plan = BatchPlan::make(dir.nativePath(), from, to, ".t");
        QTEST(problemCodes(plan), "expected");
    }

    // Moves in an order that frees each name before it is taken; undo puts every name back.
    void moves_data()
    {
        QTest::addColumn<QByteArrayList>("from");
        QTest::addColumn<QByteArrayList>("to");
        QTest::addColumn<int>("temporaries"); // moves through a temporary name
        QTest::addColumn<QByteArrayList>("after");
        const auto row = [](const char *name, const QByteArray &from, const QByteArray &to,
                            int temporaries, const QByteArray &after) {
            QTest::newRow(name) << test::names(from) << test::names(to) << temporaries
                                << test::names(after);
        };
        const QByteArray five = "01.txt|02.txt|03.txt|04.txt|05.txt";
        row("shift up", five, "02.txt|03.txt|04.txt|05.txt|06.txt", 0,
            "02.txt|03.txt|04.txt|05.txt|06.txt");
        row("shift down", "02.txt|03.txt|04.txt", "01.txt|02.txt|03.txt", 0,
            "01.txt|02.txt|03.txt");
        row("from zero", five, "00.txt|01.txt|02.txt|03.txt|04.txt", 0,
            "00.txt|01.txt|02.txt|03.txt|04.txt");
        row("ring of three", "a|b|c", "b|c|a", 1, "a|b|c");
        row("swap beside a chain", "a|b|x|y", "b|a|y|z", 1, "a|b|y|z");
        row("case only, case-sensitive", "photo01.jpg", "Photo01.jpg", 0, "Photo01.jpg");
        row("already named so", "a|b", "a|c", 0, "a|c");
        row("exFAT: shift up", five, "02.txt|03.txt|04.txt|05.txt|06.txt", 0,
            "02.txt|03.txt|04.txt|05.txt|06.txt");
        row("exFAT: ring of three", "a|b|c", "b|c|a", 1, "a|b|c");
        row("exFAT: case only", "photo01.jpg|x.TXT", "Photo01.jpg|X.txt", 2, "Photo01.jpg|X.txt");
    }
    void moves()
    {
        QFETCH(QByteArrayList, from);
        QFETCH(QByteArrayList, to);
        QFETCH(int, temporaries);
        const auto made = folder();
        if (!made)
            QSKIP(qPrintable(m_stick->skipReason()));
        test::TestDir &dir = *made;
        for (const QByteArray &name : from)
            dir.createFile(name);
        const auto before = dir.contents();
        const auto names = dir.names();

        BatchJob batch = job(dir, from, to);
        batch.run();
        QCOMPARE(batch.stage(), BatchJob::Stage::Ran);
        const auto &steps = batch.plan().steps;
        QCOMPARE(
            std::count_if(steps.cbegin(), steps.cend(),
                          [](const PlanStep &s) { return s.move == PlanStep::Move::ToTemporary; }),
            temporaries);
        QTEST(dir.names(), "after");
        QCOMPARE(dir.contents(), before);
        for (qsizetype i = 0; i < from.size(); ++i)
            QCOMPARE(dir.content(to[i]), from[i]);

        Undo undo;
        undo.prepare();
        QCOMPARE(undo.stage(), Undo::Stage::Ready);
        QCOMPARE(undo.folder(), dir.nativePath());
        undo.execute();
        QCOMPARE(dir.names(), names);
        QCOMPARE(dir.contents(), before);
        for (const QByteArray &name : from)
            QCOMPARE(dir.content(name), name);
    }

    // Undo moves back what it finds by identity and reports the rest; a second undo takes the
    // batch before.
    void undoSkipsWhatChangedSince()
    {
        test::TestDir dir;
        for (const QByteArray name : {"a", "b", "c"})
            dir.createFile(name);
        const auto before = dir.contents();
        job(dir, {"a"}, {"A"}).run();
        job(dir, {"b", "c"}, {"x", "y"}).run();
        // Since then: x renamed by someone else, y replaced by another file.
        const int folder = ::open(dir.nativePath(), O_PATH);
        QVERIFY(::renameat(folder, "x", folder, "z") == 0 &&
                ::renameat(folder, "y", folder, "y.old") == 0);
        ::close(folder);
        dir.createFile("y");

        Undo undo;
        undo.prepare();
        QCOMPARE(undo.count(), 0);
        QCOMPARE(undo.lost().size(), 2);
        undo.execute();
        QCOMPARE(dir.names(), test::names("A|y|y.old|z"));

        Undo earlier;
        earlier.prepare();
        QCOMPARE(earlier.count(), 1);
        earlier.execute();
        QCOMPARE(dir.names(), test::names("a|y|y.old|z"));
        auto expected = before;
        expected["y"] += 1;
        QCOMPARE(dir.contents(), expected);

        Undo none;
        none.prepare();
        QCOMPARE(none.stage(), Undo::Stage::NothingToUndo);
    }

    // Cancel stops after the current move; what was done stays undoable.
    void cancelMidBatch()
    {
        test::TestDir dir;
        const QByteArrayList from = numbered(50), to = numbered(51).mid(1);
        for (const QByteArray &name : from)
            dir.createFile(name);
        const auto before = dir.contents();
        BatchJob batch = job(dir, from, to);
        batch.prepare();
        {
            const ActAfterRenames cancel(7, [&batch] { batch.cancel(); });
            batch.execute();
        }
        QVERIFY(batch.cancelled());
        QCOMPARE(batch.done(), 7);
        // A shift up moves the last file first.
        QCOMPARE(dir.names(), from.first(43) + to.last(7));
        QCOMPARE(dir.contents(), before);
        Undo undo;
        undo.prepare();
        QCOMPARE(undo.count(), 7);
        undo.execute();
        QCOMPARE(dir.names(), from);
    }

    // A batch killed between two moves: a fresh process finds the journal and puts back the
    // files already moved, the others are untouched.
    void killedMidBatch()
    {
        test::TestDir dir;
        const QByteArrayList from = {"a", "b", "c", "d", "e"}, to = {"b", "c", "a", "x", "y"};
        for (const QByteArray &name : from)
            dir.createFile(name);
        const auto before = dir.contents();
        int ready[2];
        QCOMPARE(::pipe(ready), 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            // Stops in the middle of the ring a -> b -> c -> a, a at its temporary name.
            const ActAfterRenames stop(3, [&ready] {
                (void)!::write(ready[1], "x", 1);
                ::pause();
            });
            job(dir, from, to).run();
            ::_exit(0);
        }
        char c;
        QCOMPARE(::read(ready[0], &c, 1), 1);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        QVERIFY(WIFSIGNALED(status));
        QVERIFY(dir.names() != from);
        QCOMPARE(dir.contents(), before);

        const pid_t undoer = ::fork();
        if (undoer == 0) {
            Undo undo;
            undo.prepare();
            undo.execute();
            ::_exit(undo.problemLines().isEmpty() ? 0 : 1);
        }
        ::waitpid(undoer, &status, 0);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QCOMPARE(dir.names(), from);
        QCOMPARE(dir.contents(), before);
        for (const QByteArray &name : from)
            QCOMPARE(dir.content(name), name);
    }

    // Without a journal there is no way back, so nothing moves.
    void journalUnwritable()
    {
        test::TestDir dir;
        dir.createFile("a");
        dir.createFile("state");
        const QByteArray saved = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", dir.nativePath() + "/state");
        BatchJob batch = job(dir, {"a"}, {"b"});
        batch.run();
        qputenv("XDG_STATE_HOME", saved);
        QCOMPARE(batch.stage(), BatchJob::Stage::JournalFailed);
        QVERIFY2(batch.journalError().contains(u"不是文件夹"_s), qPrintable(batch.journalError()));
        QCOMPARE(dir.names(), test::names("a|state"));
    }
};

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_batch.moc"
