#include "engine/naming/serialformat.h"
#include "engine/naming/serialnamer.h"
#include "engine/naming/serialrename.h"
#include "support/fakemessageboxes.h"
#include "support/fakeresultlist.h"
#include "support/rows.h"
#include "support/statehome.h"
#include "support/testdir.h"

#include <QTest>

using namespace tolvane;
using namespace Qt::StringLiterals;
using Kind = test::FakeMessageBoxes::Kind;

namespace {

QByteArrayList newNames(const QByteArray &pattern, const QString &start,
                        const QByteArrayList &names)
{
    const SerialNamer namer(pattern, StartValue(start), SerialFormatFor(startTextLength(start)));
    QByteArrayList made;
    for (qsizetype i = 0; i < names.size(); ++i)
        made.append(namer.newName(i, names[i]));
    return made;
}

} // namespace

class TestSerialRename : public QObject
{
    Q_OBJECT
    test::StateHome m_state;

private Q_SLOTS:
    // The serial the file at `index` gets for a typed start text.
    void serial_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("index");
        QTest::addColumn<QByteArray>("serial");
        QTest::newRow("hexadecimal") << u"&H1F"_s << 0 << QByteArray("0031");
        QTest::newRow("negative") << u"-2"_s << 0 << QByteArray("-02");
        QTest::newRow("small negative is zero") << u"-0.4"_s << 0 << QByteArray("0000");
        QTest::newRow("half away from zero") << u"2.5"_s << 1 << QByteArray("004");
        QTest::newRow("never cut") << u"9"_s << 91 << QByteArray("100");
        QTest::newRow("seven digits unpadded") << u"0000009"_s << 1 << QByteArray("10");
        QTest::newRow("beyond 64 bits") << u"-1E20"_s << 0 << QByteArray("-100000000000000000000");
        QTest::newRow("code points counted") << u"😀😀😀"_s << 0 << QByteArray("000");
        QTest::newRow("length past 16 bits") << QString(40000, u'a') << 0 << QByteArray("0");
    }
    void serial()
    {
        QFETCH(QString, start);
        QFETCH(int, index);
        QTEST(newNames("#", start, QByteArrayList(index + 1)).last(), "serial");
    }

    void names_data()
    {
        QTest::addColumn<QByteArray>("pattern");
        QTest::addColumn<QByteArrayList>("current");
        QTest::addColumn<QByteArrayList>("targets");
        const auto row = [](const char *name, const QByteArray &pattern, const QByteArray &current,
                            const QByteArray &targets) {
            QTest::newRow(name) << pattern << test::names(current) << test::names(targets);
        };
        row("extension keeps its case", "Photo#", "a.jpg|b.JPG", "Photo01.jpg|Photo02.JPG");
        row("every hash", "#-#", "a|b", "01-01|02-02");
        row("first dot splits", "N", "archive.tar.gz|Makefile|.hidden|end.",
            "N.tar.gz|N|N.hidden|N.");
        row("raw bytes kept, in the pattern too", "照片\xef\xbb\xbf\xfe#", "\xff.t\xfe",
            "照片\xef\xbb\xbf\xfe"
            "01.t\xfe");
    }
    void names()
    {
        QFETCH(QByteArray, pattern);
        QFETCH(QByteArrayList, current);
        QFETCH(QByteArrayList, targets);
        QCOMPARE(newNames(pattern, u"1"_s, current), targets);
    }

    // A failed batch shows one box naming the file it stopped at; a refused one shows its
    // reason and changes nothing, not even the results of the last batch.
    void batch_data()
    {
        QTest::addColumn<QByteArrayList>("present");
        QTest::addColumn<QByteArrayList>("names");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QByteArrayList>("after");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("message");   // part of the one box shown; empty: no box
        QTest::addColumn<QByteArray>("folder"); // empty: the test folder as it is
        const auto row = [](const char *name, const QByteArray &present, const QByteArray &names,
                            const QString &pattern, const QString &start, const QByteArray &after,
                            const QByteArray &listed, const QString &message,
                            const QByteArray &folder = {}) {
            QTest::newRow(name) << test::names(present) << test::names(names) << pattern << start
                                << test::names(after) << test::texts(listed) << message << folder;
        };
        const QByteArray ab = "a.txt|b.txt";
        const QByteArray odd = "a b.txt|c\nd.t x|\xff.dat|x.\xfe";
        row("numbered in list order", "b.JPG|a.jpg", "b.JPG|a.jpg", u"Photo#"_s, u"1"_s,
            "Photo01.JPG|Photo02.jpg", "Photo01.JPG|Photo02.jpg", {});
        // A plan with any problem renames nothing.
        row("no hash gives two files one name", ab, ab, u"X"_s, u"1"_s, ab, "",
            u"“b.txt”→“X.txt”：另一个文件也要改成这个名字"_s);
        row("vanished names", "a.txt", "gone|a.txt", u"P#"_s, u"1"_s, "a.txt", "",
            u"“gone”→“P01”：文件已不存在"_s);
        row("spaces, line feeds, invalid UTF-8", odd, odd, u"new #"_s, u" 1"_s,
            "new 01.txt|new 02.t x|new 03.dat|new 04.\xfe",
            "new 01.txt|new 02.t x|new 03.dat|$'new 04.\\376'", {});
        for (const QString &outside : {u"/P#"_s, u"../P#"_s, u"sub/P#"_s})
            row(qPrintable(u"new names stay in the folder: "_s + outside), "a.txt|sub/", "a.txt",
                outside, u"1"_s, "a.txt|sub", "kept", u"新文件名中不能含有“/”"_s);
        // Each name would be 39 MB: it is refused by its length before it is made.
        row("names beyond any file system", ab, ab, QString(131000, u'#'), u"9e300"_s, ab, "",
            u"新文件名太长"_s);
        row("empty start", ab, ab, u"P#"_s, {}, ab, "kept", u"没填完！"_s);
        row("empty pattern", ab, ab, {}, u"1"_s, ab, "kept", u"没填完！"_s);
        row("start beyond numbers", ab, ab, u"P#"_s, u"-1E999"_s, ab, "kept",
            u"起始编号“-1E999”超出了能表示的数字范围，没有改名任何文件。"_s);
        row("NUL in the pattern", ab, ab, QStringView(u"P\0#", 3).toString(), u"1"_s, ab, "kept",
            u"新文件名中不能含有空字符，没有改名任何文件。"_s);
        row("folder gone", ab, ab, u"P#"_s, u"1"_s, ab, "", u"无法打开文件夹"_s, "missing");
    }
    void batch()
    {
        QFETCH(QByteArrayList, present);
        QFETCH(QByteArrayList, names);
        QFETCH(QString, pattern);
        QFETCH(QString, start);
        QFETCH(QString, message);
        QFETCH(QByteArray, folder);
        test::TestDir dir;
        dir.create(present);
        const auto before = dir.contents();
        test::FakeResultList results;
        results.append(u"kept"_s);
        test::FakeMessageBoxes messages;
        BatchState state;
        const QByteArray path = dir.nativePath() + (folder == "missing" ? "/missing" : "");
        RunSerialRename(pattern.toUtf8(), start, path, names, results, messages, state);
        QTEST(dir.names(), "after");
        QCOMPARE(dir.contents(), before);
        QTEST(results.items(), "listed");
        if (message.isEmpty()) {
            QVERIFY(messages.shown().isEmpty());
            return;
        }
        // Only "没填完！" is a plain notice.
        QCOMPARE(messages.shown().size(), 1);
        const Kind kind = message == u"没填完！"_s ? Kind::Notice : Kind::Failure;
        QCOMPARE(messages.shown()[0].kind, kind);
        // A box lists at most 20 files, each name cut to a readable length.
        QVERIFY2(messages.shown()[0].text.contains(message) &&
                     messages.shown()[0].text.size() < 4000,
                 qPrintable(messages.shown()[0].text.left(4000)));
    }
};

QTEST_GUILESS_MAIN(TestSerialRename)
#include "tst_serialrename.moc"
