#include "app/launchrequest.h"
#include "app/startfolder.h"
#include "support/testdir.h"

#include <QDir>
#include <QTest>
#include <unistd.h>

using namespace tolvane;
using namespace tolvane::test;

class TestStart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsRequest_data();
    void readsRequest();
    void entersFolder_data();
    void entersFolder();

private:
    TestDir m_dir;
};

void TestStart::readsRequest_data()
{
    QTest::addColumn<QByteArrayList>("arguments");
    QTest::addColumn<bool>("window");
    QTest::addColumn<QByteArray>("folder");
    QTest::newRow("nothing") << QByteArrayList{} << true << QByteArray();
    QTest::newRow("folder") << QByteArrayList{"/srv/相片"} << true << QByteArray("/srv/相片");
    QTest::newRow("dash folder") << QByteArrayList{"--", "-x"} << true << QByteArray("-x");
    QTest::newRow("option") << QByteArrayList{"--simplify", "a"} << false << QByteArray();
    QTest::newRow("two folders") << QByteArrayList{"a", "b"} << false << QByteArray();
}

void TestStart::readsRequest()
{
    QFETCH(QByteArrayList, arguments);
    arguments.prepend("tolvane");
    QList<const char *> argv;
    for (const QByteArray &argument : arguments)
        argv.append(argument.constData());
    const LaunchRequest request = readLaunchRequest(int(argv.size()), argv.constData());
    QTEST(request.mode == LaunchRequest::Window, "window");
    QTEST(request.folder, "folder");
}

void TestStart::entersFolder_data()
{
    m_dir.createFolder("照片");
    m_dir.createFile("file");
    QVERIFY(QDir().mkdir(m_dir.path() + QStringLiteral("/locked"), QFile::WriteOwner));
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("reason"); // empty when the folder is entered
    QTest::newRow("folder") << QByteArray("照片") << QString();
    QTest::newRow("missing") << QByteArray("gone") << QStringLiteral("文件夹不存在");
    QTest::newRow("file") << QByteArray("file") << QStringLiteral("这不是一个文件夹");
    QTest::newRow("unreadable") << QByteArray("locked")
                                << QStringLiteral("没有读取这个文件夹的权限");
}

void TestStart::entersFolder()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, reason);
    if (name == "locked" && ::geteuid() == 0)
        QSKIP("root reads every folder, so none is unreadable here");
    const QString before = QDir::currentPath();
    const QByteArray folder = m_dir.nativePath() + '/' + name;
    const QString problem = enterStartFolder(folder);
    const QString after = QDir::currentPath();
    QVERIFY(QDir::setCurrent(before));
    if (reason.isEmpty()) {
        QCOMPARE(problem, QString());
        QCOMPARE(after, QFile::decodeName(folder));
    } else {
        QCOMPARE(after, before);
        QVERIFY2(problem.contains(QFile::decodeName(folder)) && problem.contains(reason) &&
                     problem.contains(before),
                 qPrintable(problem));
    }
}

QTEST_GUILESS_MAIN(TestStart)
#include "tst_start.moc"
