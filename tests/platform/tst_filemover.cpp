#include "platform/filemover.h"
#include "platform/renamecall.h"
#include "support/testdir.h"

#include <QTest>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

using namespace tolvane;
using tolvane::test::TestDir;

namespace {

int g_refusal = 0;     // errno the faked rename gives; 0 calls the real one
QByteArray g_intruder; // a file another process creates just before the rename
QByteArray g_intruderPath;

int fakeRename(int fromFolder, const char *from, int toFolder, const char *to, unsigned int flags)
{
    if (!g_intruder.isEmpty()) {
        const int fd =
            ::openat(toFolder, g_intruder.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd >= 0) {
            if (::write(fd, "intruder", 8) != 8)
                qWarning("short write");
            ::close(fd);
        }
    }
    if (g_refusal != 0) {
        errno = g_refusal;
        return -1;
    }
    return ::renameat2(fromFolder, from, toFolder, to, flags);
}

// Installs the faked rename for one test function and puts the real one back after it.
struct FakeRename
{
    FakeRename(int refusal, const QByteArray &intruder)
    {
        g_refusal = refusal;
        g_intruder = intruder;
        m_previous = setRenameCall(fakeRename);
    }
    ~FakeRename() { setRenameCall(m_previous); }
    RenameCall m_previous;
};

QString strerrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

class TestFileMover : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void move_data();
    void move();
    void refusedFlag_data();
    void refusedFlag();
    void folderThatCannotBeOpened_data();
    void folderThatCannotBeOpened();
};

void TestFileMover::move_data()
{
    QTest::addColumn<int>("refusal"); // 0: the kernel's own rename; else the link fallback
    QTest::addColumn<QByteArrayList>("files");
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QByteArray>("intruder");
    QTest::addColumn<int>("error");
    QTest::addColumn<QByteArrayList>("after");

    const QByteArray longName(256, 'n');
    for (const int refusal : {0, EINVAL}) {
        const QByteArray way = refusal ? "link fallback: " : "rename: ";
        const auto row = [&](const char *name) -> QTestData & {
            return QTest::newRow((way + name).constData());
        };
        row("plain") << refusal << QByteArrayList{"a"} << QByteArray("a") << QByteArray("b")
                     << QByteArray() << 0 << QByteArrayList{"b"};
        row("target exists") << refusal << QByteArrayList{"a", "b"} << QByteArray("a")
                             << QByteArray("b") << QByteArray() << EEXIST
                             << QByteArrayList{"a", "b"};
        row("target appears just before the move")
            << refusal << QByteArrayList{"a"} << QByteArray("a") << QByteArray("b")
            << QByteArray("b") << EEXIST << QByteArrayList{"a", "b"};
        row("missing source") << refusal << QByteArrayList{"a"} << QByteArray("gone")
                              << QByteArray("b") << QByteArray() << ENOENT << QByteArrayList{"a"};
        row("empty source") << refusal << QByteArrayList{"a"} << QByteArray() << QByteArray("b")
                            << QByteArray() << EINVAL << QByteArrayList{"a"};
        row("empty target") << refusal << QByteArrayList{"a"} << QByteArray("a") << QByteArray()
                            << QByteArray() << EINVAL << QByteArrayList{"a"};
        row("NUL in target is not cut")
            << refusal << QByteArrayList{"a"} << QByteArray("a") << QByteArray("b\0c", 3)
            << QByteArray() << EINVAL << QByteArrayList{"a"};
        row("NUL in source is not cut")
            << refusal << QByteArrayList{"a"} << QByteArray("a\0x", 3) << QByteArray("b")
            << QByteArray() << EINVAL << QByteArrayList{"a"};
        row("leading slash stays in the folder")
            << refusal << QByteArrayList{"a"} << QByteArray("a") << QByteArray("//b")
            << QByteArray() << 0 << QByteArrayList{"b"};
        row("same name") << refusal << QByteArrayList{"a"} << QByteArray("a") << QByteArray("a")
                         << QByteArray() << 0 << QByteArrayList{"a"};
        row("same name, missing") << refusal << QByteArrayList{"a"} << QByteArray("b")
                                  << QByteArray("b") << QByteArray() << ENOENT
                                  << QByteArrayList{"a"};
        row("name too long") << refusal << QByteArrayList{"a"} << QByteArray("a") << longName
                             << QByteArray() << ENAMETOOLONG << QByteArrayList{"a"};
        row("raw bytes") << refusal << QByteArrayList{"\xff\n x"} << QByteArray("\xff\n x")
                         << QByteArray("\xfe y") << QByteArray() << 0 << QByteArrayList{"\xfe y"};
    }
}

void TestFileMover::move()
{
    QFETCH(int, refusal);
    QFETCH(QByteArrayList, files);
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QByteArray, intruder);
    QFETCH(int, error);
    QFETCH(QByteArrayList, after);

    TestDir dir;
    for (const QByteArray &name : files)
        dir.createFile(name);
    auto before = dir.contents();
    if (!intruder.isEmpty())
        ++before["intruder"];

    const FakeRename fake(refusal, intruder);
    const FileMover::Result result = FileMover(dir.nativePath()).move(from, to);
    QCOMPARE(result.ok, error == 0);
    QCOMPARE(result.error, error);
    QCOMPARE(result.errorText, error ? strerrorText(error) : QString());
    QCOMPARE(dir.names(), after);
    QCOMPARE(dir.contents(), before);
}

void TestFileMover::refusedFlag_data()
{
    QTest::addColumn<int>("refusal");
    QTest::addColumn<bool>("folder");
    QTest::addColumn<int>("error");
    QTest::newRow("EINVAL") << EINVAL << false << 0;
    QTest::newRow("ENOSYS") << ENOSYS << false << 0;
    QTest::newRow("ENOTTY") << ENOTTY << false << 0;
    QTest::newRow("EOPNOTSUPP") << EOPNOTSUPP << false << 0;
    QTest::newRow("other errors are final") << EXDEV << false << EXDEV;
    QTest::newRow("folders are not linked") << EOPNOTSUPP << true << EOPNOTSUPP;
}

// A file system that refuses the no-replace flag still gets its regular files moved, by link
// and unlink; anything else fails with the rename's own error and stays where it was.
void TestFileMover::refusedFlag()
{
    QFETCH(int, refusal);
    QFETCH(bool, folder);
    QFETCH(int, error);

    TestDir dir;
    if (folder)
        dir.createFolder("a");
    else
        dir.createFile("a");
    const auto before = dir.contents();

    const FakeRename fake(refusal, {});
    const FileMover::Result result = FileMover(dir.nativePath()).move("a", "sub b");
    QCOMPARE(result.error, error);
    QCOMPARE(dir.names(), error ? QByteArrayList{"a"} : QByteArrayList{"sub b"});
    QCOMPARE(dir.contents(), before);
}

void TestFileMover::folderThatCannotBeOpened_data()
{
    QTest::addColumn<QByteArray>("suffix");
    QTest::addColumn<int>("error");
    QTest::newRow("missing") << QByteArray("/missing") << ENOENT;
    QTest::newRow("a file") << QByteArray("/a") << ENOTDIR;
    QTest::newRow("NUL in the path") << QByteArray("\0/x", 3) << EINVAL;
}

void TestFileMover::folderThatCannotBeOpened()
{
    QFETCH(QByteArray, suffix);
    QFETCH(int, error);

    TestDir dir;
    dir.createFile("a");
    FileMover mover(dir.nativePath() + suffix);
    for (int i = 0; i < 2; ++i) {
        const FileMover::Result result = mover.move("a", "b");
        QCOMPARE(result.error, error);
        QCOMPARE(result.errorText, strerrorText(error));
    }
    QCOMPARE(dir.names(), QByteArrayList{"a"});
}

QTEST_GUILESS_MAIN(TestFileMover)
#include "tst_filemover.moc"
