#include "workbench/renameplan.h"

#include <QTest>

using namespace tolvane;

class TestRenamePlan : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void names_data();
    void names();
    void paths_data();
    void paths();
};

void TestRenamePlan::names_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QByteArrayList>("current");
    QTest::addColumn<QByteArrayList>("planned");

    QTest::newRow("extension keeps its case")
        << QStringLiteral("Photo#") << QStringLiteral("1") << QByteArrayList{"a.jpg", "b.JPG"}
        << QByteArrayList{"Photo01.jpg", "Photo02.JPG"};
    QTest::newRow("every hash gets the serial")
        << QStringLiteral("#-#") << QStringLiteral("1") << QByteArrayList{"a", "b"}
        << QByteArrayList{"01-01", "02-02"};
    QTest::newRow("no hash") << QStringLiteral("X") << QStringLiteral("1")
                             << QByteArrayList{"a.txt", "b.doc"}
                             << QByteArrayList{"X.txt", "X.doc"};
    QTest::newRow("first dot splits")
        << QStringLiteral("N") << QStringLiteral("1")
        << QByteArrayList{"archive.tar.gz", "Makefile", ".hidden", "end."}
        << QByteArrayList{"N.tar.gz", "N", "N.hidden", "N."};
    QTest::newRow("chinese pattern")
        << QStringLiteral("照片#") << QStringLiteral("1") << QByteArrayList{"a.png"}
        << QByteArrayList{QStringLiteral("照片01.png").toUtf8()};
    QTest::newRow("invalid utf-8 name and extension")
        << QStringLiteral("F#") << QStringLiteral("1") << QByteArrayList{"\xff\xfe", "x.t\xe9xt"}
        << QByteArrayList{"F01", "F02.t\xe9xt"};
    QTest::newRow("subfolder") << QStringLiteral("sub/#") << QStringLiteral("1")
                               << QByteArrayList{"a.txt"} << QByteArrayList{"sub/01.txt"};
    QTest::newRow("no files") << QStringLiteral("#") << QStringLiteral("1") << QByteArrayList{}
                              << QByteArrayList{};
}

void TestRenamePlan::names()
{
    QFETCH(QString, pattern);
    QFETCH(QString, start);
    QFETCH(QByteArrayList, current);
    QFETCH(QByteArrayList, planned);

    const QList<RenameEntry> plan = PlanRename(pattern, start, "/data", current);
    QCOMPARE(plan.size(), planned.size());
    for (qsizetype i = 0; i < plan.size(); ++i) {
        QCOMPARE(plan[i].sourceName, current[i]);
        QCOMPARE(plan[i].targetName, planned[i]);
    }
}

void TestRenamePlan::paths_data()
{
    QTest::addColumn<QByteArray>("folder");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("sourcePath");
    QTest::addColumn<QByteArray>("targetPath");
    QTest::addColumn<QString>("listed");

    QTest::newRow("folder") << QByteArray("/home/u") << QByteArray("a.txt")
                            << QByteArray("/home/u/a.txt") << QByteArray("/home/u/P01.txt")
                            << QStringLiteral("P01.txt");
    QTest::newRow("root gets one slash")
        << QByteArray("/") << QByteArray("a.txt") << QByteArray("/a.txt") << QByteArray("/P01.txt")
        << QStringLiteral("P01.txt");
    QTest::newRow("raw bytes reach the file, the list shows them escaped")
        << QByteArray("/d\xe9") << QByteArray("\xff.t\xfe") << QByteArray("/d\xe9/\xff.t\xfe")
        << QByteArray("/d\xe9/P01.t\xfe") << QStringLiteral("P01.t\\xFE");
    QTest::newRow("spaces and line feeds")
        << QByteArray("/x") << QByteArray("a b\nc.t x") << QByteArray("/x/a b\nc.t x")
        << QByteArray("/x/P01.t x") << QStringLiteral("P01.t x");
}

void TestRenamePlan::paths()
{
    QFETCH(QByteArray, folder);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, sourcePath);
    QFETCH(QByteArray, targetPath);
    QFETCH(QString, listed);

    const QList<RenameEntry> plan =
        PlanRename(QStringLiteral("P#"), QStringLiteral("1"), folder, {name});
    QCOMPARE(plan.size(), 1);
    QCOMPARE(plan[0].sourcePath, sourcePath);
    QCOMPARE(plan[0].targetPath, targetPath);
    QCOMPARE(plan[0].ListedName, listed);
}

QTEST_GUILESS_MAIN(TestRenamePlan)
#include "tst_renameplan.moc"
