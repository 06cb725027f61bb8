#include "engine/batch/batchjob.h"
#include "engine/batch/journal.h"
#include "engine/batch/undo.h"
#include "platform/folderhandle.h"
#include "support/rows.h"
#include "support/statehome.h"
#include "support/testdir.h"
#include "support/testmount.h"

#include <QTest>
#include <optional>
#include <sys/stat.h>

using namespace tolvane;

namespace {

BatchJob job(const test::TestDir &dir, const QByteArrayList &from, const QByteArrayList &to)
{
    return BatchJob(dir.nativePath(), from, [to](qsizetype i, const QByteArray &) { return to[i]; },
                    {});
}

QByteArray problemCodes(const BatchPlan &plan)
{
    static const char *const names[] = {"ok",    "missing", "empty",    "dot",    "nul",
                                        "slash", "long",    "file",     "folder", "link",
                                        "other", "same",    "readonly", "denied", "immutable"};
    QByteArrayList out;
    for (const PlannedRename &r : plan.renames)
        out.append(names[int(r.problem)]);
    return out.join('|');
}

} // namespace

class TestBatch : public QObject
{
    Q_OBJECT
    test::StateHome m_state;

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
        row("taken by a folder, a link, a file", "a|b|c|D/|L@|F", "a|b|c", "D|L|F",
            "folder|link|file");
        row("two given one name", "乾.txt|幹.txt", "乾.txt|幹.txt", "干.txt|干.txt", "same|same");
        row("dot names, NUL, empty, slash", "a|b|c|d|e|f|g", "a|b|c|d|e|f|g",
            QByteArray("..|.|sub/..|x\0y||../f|/g", 24), "dot|dot|slash|nul|empty|slash|slash");
        row("gone since listed", "a", "gone|a", "x|y", "missing|ok");
        row("waiting on a file that stays", "a|b|c", "a|b|c", "b|c|c", "file|file|ok");
        row("exFAT: another file's name in another case", "a|B", "a", "b", "file");
        row("exFAT: two names that differ in case only", "a|c", "a|c", "X|x", "same|same");
    }
    void problems()
    {
        QFETCH(QByteArrayList, present);
        QFETCH(QByteArrayList, from);
        QFETCH(QByteArrayList, to);
        // Rows named "exFAT: …" run on a USB stick's exFAT, where a name answers in any case.
        std::optional<test::TestMount> stick;
        if (QByteArray(QTest::currentDataTag()).startsWith("exFAT") &&
            !stick.emplace(test::TestMount::Kind::Exfat).ready())
            QSKIP(qPrintable(stick->skipReason()));
        test::TestDir dir(stick ? stick->path() : QByteArray());
        dir.create(present);
        const BatchPlan plan =
            BatchPlan::make(*FolderHandle::open(dir.nativePath()), from, to, ".tolvane-t");
        QCOMPARE(plan.checkInvariants(), QString());
        QTEST(problemCodes(plan), "expected");
    }

    // Each undo takes the newest batch not undone yet.
    void undoTakesTheNewestBatch()
    {
        test::TestDir dir;
        dir.create({"a", "b", "c"});
        job(dir, {"a"}, {"A"}).run();
        job(dir, {"b", "c"}, {"x", "y"}).run();
        for (const char *names : {"A|b|c", "a|b|c"}) {
            Undo undo;
            undo.prepare();
            undo.execute();
            QCOMPARE(dir.names(), test::names(names));
        }
        Undo none;
        none.prepare();
        QCOMPARE(none.stage(), Undo::Stage::NothingToUndo);
    }

    // A journal of the first format, as earlier versions wrote it, is still undone.
    void undoesAFirstFormatJournal()
    {
        test::TestDir dir;
        dir.create({"b", "c"});
        struct stat st;
        ::stat(dir.nativePath() + "/b", &st);
        ::mkdir(Journal::folder(), 0700);
        test::writeFile(Journal::folder() + "/20200101-000000-000-1-00.journal",
                        "tolvane-journal 1\nfolder\t" + dir.nativePath() +
                            "\nstem\t.tolvane-1-2-3\n0\t" + QByteArray::number(st.st_dev) + '\t' +
                            QByteArray::number(st.st_ino) + "\ta\tb\n");
        Undo undo;
        undo.prepare();
        undo.execute();
        QCOMPARE(dir.names(), test::names("a|c"));
        QCOMPARE(dir.content("a"), QByteArray("b"));
    }
};

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_batch.moc"
