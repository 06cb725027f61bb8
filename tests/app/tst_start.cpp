#include "app/launchrequest.h"
#include "app/startfolder.h"
#include "support/testdir.h"

#include <QDir>
#include <QTest>

using namespace tolvane;

class TestStart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsRequest_data()
    {
        QTest::addColumn<QByteArrayList>("arguments");
        QTest::addColumn<bool>("window");
        QTest::addColumn<QByteArray>("folder");
        QTest::newRow("nothing") << QByteArrayList{} << true << QByteArray();
        QTest::newRow("dash folder") << QByteArrayList{"--", "-x"} << true << QByteArray("-x");
        QTest::newRow("two folders") << QByteArrayList{"a", "b"} << false << QByteArray();
    }
    void readsRequest()
    {
        QFETCH(QByteArrayList, arguments);
        QList<const char *> argv{"tolvane"};
        for (const QByteArray &argument : arguments)
            argv.append(argument.constData());
        const LaunchRequest request = readLaunchRequest(int(argv.size()), argv.constData());
        QTEST(request.mode == LaunchRequest::Window, "window");
        QTEST(request.folder, "folder");
    }

    // Root reads every folder, so an unreadable one cannot be made where the tests run.
    void entersFolder_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("reason"); // empty when the folder is entered
        QTest::newRow("folder") << QByteArray("照片") << QString();
        QTest::newRow("missing") << QByteArray("gone") << QStringLiteral("文件夹不存在");
        QTest::newRow("file") << QByteArray("file") << QStringLiteral("这不是一个文件夹");
    }
    void entersFolder()
    {
        QFETCH(QByteArray, name);
        test::TestDir dir;
        dir.createFolder("照片");
        dir.createFile("file");
        const QString before = QDir::currentPath();
        const QByteArray folder = dir.nativePath() + '/' + name;
        const QString problem = enterStartFolder(folder);
        const QString after = QDir::currentPath();
        QVERIFY(QDir::setCurrent(before));
        QFETCH(QString, reason);
        QCOMPARE(after, reason.isEmpty() ? QFile::decodeName(folder) : before);
        QVERIFY(reason.isEmpty() ? problem.isEmpty()
                                 : problem.contains(QFile::decodeName(folder)) &&
                                       problem.contains(reason) && problem.contains(before));
    }
};

QTEST_GUILESS_MAIN(TestStart)
#include "tst_start.moc"
