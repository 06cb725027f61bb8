#include "support/fakemessageboxes.h"
#include "support/fakeresultlist.h"
#include "support/testdir.h"
#include "workbench/serialrename.h"

#include <QTest>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tolvane;
using tolvane::test::FakeMessageBoxes;
using tolvane::test::FakeResultList;
using tolvane::test::TestDir;
using Kind = FakeMessageBoxes::Kind;

namespace {

// Everything one batch leaves behind.
struct Outcome
{
    FakeResultList results;
    FakeMessageBoxes messages;
    BatchState state;
};

void run(Outcome &outcome, const QString &pattern, const QString &start, const QByteArray &folder,
         const QByteArrayList &names)
{
    RunSerialRename(pattern, start, folder, names, outcome.results, outcome.messages,
                    outcome.state);
}

// Makes a folder read-only for this process alone: a private mount namespace holding a
// read-only bind mount of it. Returns why it could not.
QString mountReadOnly(const QByteArray &path)
{
    if (::unshare(CLONE_NEWNS) != 0)
        return QStringLiteral("no private mount namespace: ") +
               QString::fromLocal8Bit(strerror(errno));
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) != 0 ||
        ::mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
        return QStringLiteral("no read-only bind mount: ") +
               QString::fromLocal8Bit(strerror(errno));
    return {};
}

} // namespace

class TestSerialRename : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void batch_data();
    void batch();
    void refused_data();
    void refused();
    void intoSubfolder();
    void folderThatCannotBeOpened();
    void readOnlyFolder();
};

void TestSerialRename::batch_data()
{
    QTest::addColumn<QByteArrayList>("present");
    QTest::addColumn<QByteArrayList>("names");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QByteArrayList>("after");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("stopsAt"); // the file the failure names; empty: no failure

    const QString one = QStringLiteral("1");
    const QString hash = QStringLiteral("#");
    const QString x = QStringLiteral("X");
    const QString p = QStringLiteral("P#");
    const QByteArray longBase(250, 'a');

    const QByteArrayList photos{"a.jpg", "b.JPG"};
    QTest::newRow("numbered in list order")
        << photos << photos << QStringLiteral("Photo#") << one
        << QByteArrayList{"Photo01.jpg", "Photo02.JPG"}
        << QStringList{QStringLiteral("Photo01.jpg"), QStringLiteral("Photo02.JPG")} << QString();
    const QByteArrayList sameExtension{"a.txt", "b.txt"};
    QTest::newRow("pattern without hash takes a name twice")
        << sameExtension << sameExtension << x << one << QByteArrayList{"X.txt", "b.txt"}
        << QStringList{QStringLiteral("X.txt")} << QStringLiteral("b.txt");
    const QByteArrayList otherExtension{"a.txt", "b.doc"};
    QTest::newRow("pattern without hash, other extensions")
        << otherExtension << otherExtension << x << one << QByteArrayList{"X.doc", "X.txt"}
        << QStringList{QStringLiteral("X.txt"), QStringLiteral("X.doc")} << QString();
    const QByteArrayList numbered{"01.txt", "02.txt"};
    QTest::newRow("target taken by a file not yet renamed")
        << numbered << numbered << hash << QStringLiteral("2") << numbered << QStringList()
        << QStringLiteral("01.txt");
    QTest::newRow("target taken by a file outside the list")
        << QByteArrayList{"a.txt", "b.txt", "P02.txt"} << sameExtension << p << one
        << QByteArrayList{"P01.txt", "P02.txt", "b.txt"} << QStringList{QStringLiteral("P01.txt")}
        << QStringLiteral("b.txt");
    QTest::newRow("vanished names")
        << QByteArrayList{"a.txt"} << QByteArrayList{"gone.txt", "a.txt"} << p << one
        << QByteArrayList{"a.txt"} << QStringList() << QStringLiteral("gone.txt");
    QTest::newRow("spaces and line feeds")
        << QByteArrayList{"a b.txt", "c\nd.t x"} << QByteArrayList{"a b.txt", "c\nd.t x"}
        << QStringLiteral("new #") << one << QByteArrayList{"new 01.txt", "new 02.t x"}
        << QStringList{QStringLiteral("new 01.txt"), QStringLiteral("new 02.t x")} << QString();
    QTest::newRow("invalid utf-8")
        << QByteArrayList{"\xff.dat", "x.\xfe"} << QByteArrayList{"\xff.dat", "x.\xfe"}
        << QStringLiteral("F#") << one << QByteArrayList{"F01.dat", "F02.\xfe"}
        << QStringList{QStringLiteral("F01.dat"), QStringLiteral("F02.\\xFE")} << QString();
    QTest::newRow("name growing past 255 bytes")
        << QByteArrayList{"a.t", "b.txt"} << QByteArrayList{"a.t", "b.txt"}
        << QString::fromLatin1(longBase + '#') << one << QByteArrayList{longBase + "01.t", "b.txt"}
        << QStringList{QString::fromLatin1(longBase + "01.t")} << QStringLiteral("b.txt");
    QTest::newRow("files that already have their new names")
        << QByteArrayList{"P01.txt", "P02.txt"} << QByteArrayList{"P01.txt", "P02.txt"} << p << one
        << QByteArrayList{"P01.txt", "P02.txt"}
        << QStringList{QStringLiteral("P01.txt"), QStringLiteral("P02.txt")} << QString();
    QTest::newRow("leading slash stays in the folder")
        << QByteArrayList{"a.txt"} << QByteArrayList{"a.txt"} << QStringLiteral("/P#") << one
        << QByteArrayList{"P01.txt"} << QStringList{QStringLiteral("/P01.txt")} << QString();
    QTest::newRow("blank start is filled in")
        << QByteArrayList{"a.txt"} << QByteArrayList{"a.txt"} << p << QStringLiteral(" ")
        << QByteArrayList{"P00.txt"} << QStringList{QStringLiteral("P00.txt")} << QString();
    QTest::newRow("no files") << QByteArrayList{"a.txt"} << QByteArrayList{} << p << one
                              << QByteArrayList{"a.txt"} << QStringList() << QString();
}

void TestSerialRename::batch()
{
    QFETCH(QByteArrayList, present);
    QFETCH(QByteArrayList, names);
    QFETCH(QString, pattern);
    QFETCH(QString, start);
    QFETCH(QByteArrayList, after);
    QFETCH(QStringList, listed);
    QFETCH(QString, stopsAt);

    TestDir dir;
    for (const QByteArray &name : present)
        dir.createFile(name);
    const auto before = dir.contents();

    Outcome outcome;
    outcome.results.append(QStringLiteral("from the last batch"));
    run(outcome, pattern, start, dir.nativePath(), names);

    QCOMPARE(dir.names(), after);
    QCOMPARE(dir.contents(), before);
    QCOMPARE(outcome.results.clears(), 1);
    QCOMPARE(outcome.results.items(), listed);
    if (stopsAt.isEmpty()) {
        QVERIFY(outcome.messages.shown().isEmpty());
    } else {
        QCOMPARE(outcome.messages.shown().size(), 1);
        QCOMPARE(outcome.messages.shown()[0].kind, Kind::Failure);
        QVERIFY2(outcome.messages.shown()[0].text.contains(QStringLiteral("“") + stopsAt),
                 qPrintable(outcome.messages.shown()[0].text));
    }
}

void TestSerialRename::refused_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("start");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("text");

    const QString p = QStringLiteral("P#");
    const QString one = QStringLiteral("1");
    const QString notFilled = QStringLiteral("没填完！");
    QTest::newRow("empty start") << p << QString() << Kind::Notice << notFilled;
    QTest::newRow("empty pattern") << QString() << one << Kind::Notice << notFilled;
    QTest::newRow("both empty") << QString() << QString() << Kind::Notice << notFilled;
    QTest::newRow("start beyond numbers")
        << p << QStringLiteral("1E999") << Kind::Failure
        << QStringLiteral("起始编号“1E999”超出了能表示的数字范围，没有改名任何文件。");
    QTest::newRow("negative start beyond numbers")
        << p << QStringLiteral("-1E999") << Kind::Failure
        << QStringLiteral("起始编号“-1E999”超出了能表示的数字范围，没有改名任何文件。");
    QTest::newRow("NUL in the pattern")
        << QStringView(u"P\0#", 3).toString() << one << Kind::Failure
        << QStringLiteral("新文件名中不能含有空字符，没有改名任何文件。");
}

// A refused batch shows one message and changes nothing: no file, no list item, no state.
void TestSerialRename::refused()
{
    QFETCH(QString, pattern);
    QFETCH(QString, start);
    QFETCH(Kind, kind);
    QFETCH(QString, text);

    TestDir dir;
    dir.createFile("a.txt");
    dir.createFile("b.txt");
    const auto before = dir.contents();

    Outcome outcome;
    outcome.results.append(QStringLiteral("kept"));
    outcome.state = {5, QStringLiteral("kept")};
    run(outcome, pattern, start, dir.nativePath(), {"a.txt", "b.txt"});

    QCOMPARE(dir.names(), (QByteArrayList{"a.txt", "b.txt"}));
    QCOMPARE(dir.contents(), before);
    QCOMPARE(outcome.results.items(), QStringList{QStringLiteral("kept")});
    QCOMPARE(outcome.results.clears(), 0);
    QCOMPARE(outcome.state.StartTextLength, 5);
    QCOMPARE(outcome.state.SerialFormat, QStringLiteral("kept"));
    QCOMPARE(outcome.messages.shown().size(), 1);
    QCOMPARE(outcome.messages.shown()[0].kind, kind);
    QCOMPARE(outcome.messages.shown()[0].text, text);
}

void TestSerialRename::intoSubfolder()
{
    TestDir dir;
    dir.createFolder("sub");
    dir.createFile("a.txt");

    Outcome outcome;
    run(outcome, QStringLiteral("sub/#"), QStringLiteral("1"), dir.nativePath(), {"a.txt"});

    QCOMPARE(dir.names(), QByteArrayList{"sub"});
    QCOMPARE(dir.content("sub/01.txt"), QByteArray("a.txt"));
    QCOMPARE(outcome.results.items(), QStringList{QStringLiteral("sub/01.txt")});
    QVERIFY(outcome.messages.shown().isEmpty());
}

void TestSerialRename::folderThatCannotBeOpened()
{
    TestDir dir;
    dir.createFile("a.txt");
    const auto before = dir.contents();

    Outcome outcome;
    run(outcome, QStringLiteral("P#"), QStringLiteral("1"), dir.nativePath() + "/missing",
        {"a.txt"});

    QCOMPARE(dir.names(), QByteArrayList{"a.txt"});
    QCOMPARE(dir.contents(), before);
    QVERIFY(outcome.results.items().isEmpty());
    QCOMPARE(outcome.messages.shown().size(), 1);
    QVERIFY(outcome.messages.shown()[0].text.contains(QString::fromLocal8Bit(strerror(ENOENT))));
}

void TestSerialRename::readOnlyFolder()
{
    TestDir dir;
    dir.createFile("a.txt");
    dir.createFile("b.txt");
    const auto before = dir.contents();

    // Permission bits do not stop root, so root gets a read-only mount instead.
    int expected = EACCES;
    if (::geteuid() == 0) {
        const QString why = mountReadOnly(dir.nativePath());
        if (!why.isEmpty())
            QSKIP(qPrintable(why));
        expected = EROFS;
    } else {
        QCOMPARE(::chmod(dir.nativePath().constData(), 0555), 0);
    }

    Outcome outcome;
    run(outcome, QStringLiteral("P#"), QStringLiteral("1"), dir.nativePath(), {"a.txt", "b.txt"});

    if (expected == EROFS)
        ::umount2(dir.nativePath().constData(), MNT_DETACH);
    else
        ::chmod(dir.nativePath().constData(), 0755);
    QCOMPARE(dir.names(), (QByteArrayList{"a.txt", "b.txt"}));
    QCOMPARE(dir.contents(), before);
    QVERIFY(outcome.results.items().isEmpty());
    QCOMPARE(outcome.messages.shown().size(), 1);
    QVERIFY(outcome.messages.shown()[0].text.contains(QString::fromLocal8Bit(strerror(expected))));
}

QTEST_GUILESS_MAIN(TestSerialRename)
#include "tst_serialrename.moc"
