#include "platform/rawname.h"
#include "support/fakemessageboxes.h"
#include "support/fakeresultlist.h"
#include "support/testdir.h"
#include "workbench/simplifyrename.h"

#include <QTest>
#include <algorithm>

using namespace Qt::StringLiterals;
using tolvane::displayName;
using tolvane::test::FakeMessageBoxes;
using tolvane::test::FakeResultList;
using tolvane::test::TestDir;
using Names = QList<QByteArray>;

namespace {

Names sorted(Names names)
{
    std::sort(names.begin(), names.end());
    return names;
}

// One question first, exactly as worded; then one failure box naming the files that failed (the
// first twenty, then how many more), or none at all.
void checkMessages(const FakeMessageBoxes &boxes, const QString &question, const Names &failed)
{
    const auto &shown = boxes.shown();
    QVERIFY(!shown.isEmpty());
    QCOMPARE(shown[0].kind, FakeMessageBoxes::Kind::Question);
    QCOMPARE(shown[0].title, u"转换"_s);
    QCOMPARE(shown[0].text, question);
    QCOMPARE(shown.size(), failed.isEmpty() ? 1 : 2);
    if (failed.isEmpty())
        return;
    QCOMPARE(shown[1].kind, FakeMessageBoxes::Kind::Failure);
    const QString &text = shown[1].text;
    for (const QByteArray &name : failed.first(std::min<qsizetype>(failed.size(), 20)))
        QVERIFY2(text.contains(u'“' + displayName(name) + u'”'), qPrintable(text));
    QCOMPARE(text.count(u'\n'), std::min<qsizetype>(failed.size(), 21));
    if (failed.size() > 20)
        QVERIFY2(text.contains(QString::number(failed.size() - 20)), qPrintable(text));
}

void addColumns()
{
    QTest::addColumn<Names>("created");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<Names>("after");
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<Names>("failed");
}

// What both conversions share: a real folder made from the "created" column, the recorders
// answering with the "answer" column, and the checks of what the conversion left behind.
struct Scene
{
    Scene()
    {
        QFETCH(Names, created);
        QFETCH(bool, answer);
        for (const QByteArray &name : created)
            dir.createFile(name);
        before = dir.contents();
        boxes.answer = answer;
    }

    void check(const QString &question) const
    {
        QFETCH(Names, after);
        QFETCH(QStringList, results);
        QFETCH(Names, failed);
        QCOMPARE(dir.names(), sorted(after));
        QCOMPARE(dir.contents(), before);
        QCOMPARE(list.items(), results);
        QCOMPARE(list.clears(), 0);
        checkMessages(boxes, question, failed);
    }

    TestDir dir;
    std::map<QByteArray, int> before;
    FakeMessageBoxes boxes;
    FakeResultList list;
};

} // namespace

class TestSimplifyRename : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void convertSelected_data();
    void convertSelected();
    void convertFolder_data();
    void convertFolder();
};

void TestSimplifyRename::convertSelected_data()
{
    addColumns();
    QTest::addColumn<QByteArray>("selected");
    QTest::addColumn<QString>("text4");

    const QByteArray notUtf8("\xff\xfe.txt");
    QTest::newRow("traditional base")
        << Names{"舊檔案.txt"} << true << Names{"旧档案.txt"} << QStringList{u"旧档案.txt"_s}
        << Names{} << QByteArray("舊檔案.txt") << u"舊檔案"_s;
    QTest::newRow("no dot") << Names{"說明"} << true << Names{"说明"} << QStringList{u"说明"_s}
                            << Names{} << QByteArray("說明") << u"說明"_s;
    QTest::newRow("edited text4") << Names{"a.tar.gz"} << true << Names{"报告.tar.gz"}
                                  << QStringList{u"报告.tar.gz"_s} << Names{}
                                  << QByteArray("a.tar.gz") << u"報告"_s;
    QTest::newRow("answered no") << Names{"舊檔案.txt"} << false << Names{"舊檔案.txt"}
                                 << QStringList{} << Names{} << QByteArray("舊檔案.txt")
                                 << u"舊檔案"_s;
    QTest::newRow("nothing selected") << Names{"舊.txt"} << true << Names{"舊.txt"} << QStringList{}
                                      << Names{} << QByteArray() << u"舊"_s;
    QTest::newRow("empty text4") << Names{"舊.txt"} << true << Names{"舊.txt"} << QStringList{}
                                 << Names{"舊.txt"} << QByteArray("舊.txt") << QString();
    QTest::newRow("empty text4, no dot") << Names{"說明"} << true << Names{"說明"} << QStringList{}
                                         << Names{"說明"} << QByteArray("說明") << QString();
    QTest::newRow("dot file keeps its name")
        << Names{".profile"} << true << Names{".profile"} << QStringList{u".profile"_s} << Names{}
        << QByteArray(".profile") << QString();
    QTest::newRow("already simplified")
        << Names{"readme.md"} << true << Names{"readme.md"} << QStringList{u"readme.md"_s}
        << Names{} << QByteArray("readme.md") << u"readme"_s;
    QTest::newRow("target taken") << Names{"舊.txt", "旧.txt"} << true << Names{"舊.txt", "旧.txt"}
                                  << QStringList{} << Names{"舊.txt"} << QByteArray("舊.txt")
                                  << u"舊"_s;
    QTest::newRow("vanished") << Names{} << true << Names{} << QStringList{} << Names{"舊.txt"}
                              << QByteArray("舊.txt") << u"舊"_s;
    QTest::newRow("not UTF-8") << Names{notUtf8} << true << Names{notUtf8}
                               << QStringList{displayName(notUtf8)} << Names{} << notUtf8
                               << u"報告"_s;
}

void TestSimplifyRename::convertSelected()
{
    QFETCH(QByteArray, selected);
    QFETCH(QString, text4);
    Scene scene;
    // A value left from an earlier preview must not be what the file is named after.
    tolvane::ConversionState state{u"陈旧"_s, u"陈旧"_s};

    tolvane::convertSelected(scene.dir.nativePath(), selected, text4, scene.list, scene.boxes,
                             state);

    scene.check(u"将【"_s + displayName(selected) + u"】文件转换为简体?"_s);
    if (scene.boxes.answer && !selected.isEmpty())
        QVERIFY(state.ConvertedName.isEmpty());
}

void TestSimplifyRename::convertFolder_data()
{
    addColumns();
    QTest::addColumn<Names>("listed");

    const QByteArray notUtf8("\xff\xe8\x88\x8a.txt");
    QTest::newRow("traditional and plain")
        << Names{"舊.TXT", "readme.md"} << true << Names{"旧.TXT", "readme.md"}
        << QStringList{u"旧.TXT"_s, u"readme.md"_s} << Names{} << Names{"舊.TXT", "readme.md"};
    QTest::newRow("whole name") << Names{"舊檔案.報告"} << true << Names{"旧档案.报告"}
                                << QStringList{u"旧档案.报告"_s} << Names{} << Names{"舊檔案.報告"};
    QTest::newRow("empty folder") << Names{} << true << Names{} << QStringList{} << Names{}
                                  << Names{};
    QTest::newRow("answered no") << Names{"舊.TXT"} << false << Names{"舊.TXT"} << QStringList{}
                                 << Names{} << Names{"舊.TXT"};
    QTest::newRow("two become one")
        << Names{"乾.txt", "幹.txt"} << true << Names{"干.txt", "幹.txt"}
        << QStringList{u"干.txt"_s} << Names{"幹.txt"} << Names{"乾.txt", "幹.txt"};
    QTest::newRow("target exists")
        << Names{"舊.txt", "旧.txt"} << true << Names{"舊.txt", "旧.txt"}
        << QStringList{u"旧.txt"_s} << Names{"舊.txt"} << Names{"舊.txt", "旧.txt"};
    QTest::newRow("vanished") << Names{"readme.md", "說明"} << true << Names{"readme.md", "说明"}
                              << QStringList{u"readme.md"_s, u"说明"_s}
                              << Names{"舊.txt", "gone.md"}
                              << Names{"舊.txt", "readme.md", "gone.md", "說明"};
    Names gone;
    for (int i = 0; i < 25; ++i)
        gone.append("舊" + QByteArray::number(i));
    QTest::newRow("many failures") << Names{} << true << Names{} << QStringList{} << gone << gone;
    QTest::newRow("not UTF-8") << Names{notUtf8, "說明"} << true << Names{notUtf8, "说明"}
                               << QStringList{displayName(notUtf8), u"说明"_s} << Names{}
                               << Names{notUtf8, "說明"};
}

void TestSimplifyRename::convertFolder()
{
    QFETCH(Names, listed);
    Scene scene;
    tolvane::ConversionState state;

    const bool hide =
        tolvane::convertFolder(scene.dir.nativePath(), listed, scene.list, scene.boxes, state);

    QCOMPARE(hide, scene.boxes.answer);
    scene.check(u"将【"_s + displayName(scene.dir.nativePath()) +
                u"】文件夹下所有文件转换为简体?"_s);
    QVERIFY(state.ConvertedName.isEmpty());
}

QTEST_GUILESS_MAIN(TestSimplifyRename)
#include "tst_simplifyrename.moc"
