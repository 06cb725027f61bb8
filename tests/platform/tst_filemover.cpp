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

int fakeRename(int fromFolder, const char *from, int toFolder, const char *to, unsigned int flags)
{
    if (!g_intruder.isEmpty()) {
        const int fd =
            ::openat(toFolder, g_intruder.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        const bool written = fd >= 0 && ::write(fd, "intruder", 8) == 8;
        if (fd < 0 || ::close(fd) != 0 || !written)
            qWarning("intruder not written");
    }
    if (g_refusal != 0) {
        errno = g_refusal;
        return -1;
    }
    return ::renameat2(fromFolder, from, toFolder, to, flags);
}

QString strerrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

class TestFileMover : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void move_data()
    {
        QTest::addColumn<int>("refusal"); // a refused no-replace flag moves by link and unlink
        QTest::addColumn<QByteArrayList>("files"); // a trailing "/" makes a folder
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<int>("error");
        QTest::addColumn<QByteArrayList>("after");
        QTest::addColumn<QByteArray>("intruder");
        QTest::addColumn<QByteArray>("folder"); // added to the test folder's path
        const QByteArrayList a{"a"}, b{"b"}, both{"a", "b"};
        const auto row = [](const QByteArray &name, int refusal, const QByteArrayList &files,
                            const QByteArray &from, const QByteArray &to, int error,
                            const QByteArrayList &after, const QByteArray &intruder = {},
                            const QByteArray &folder = {}) {
            QTest::newRow(name.constData())
                << refusal << files << from << to << error << after << intruder << folder;
        };
        for (const int refusal : {0, EINVAL}) {
            const QByteArray way = refusal ? "link fallback: " : "rename: ";
            row(way + "plain", refusal, a, "a", "b", 0, b);
            row(way + "target exists", refusal, both, "a", "b", EEXIST, both);
            row(way + "target appears just before the move", refusal, a, "a", "b", EEXIST, both,
                "b");
            row(way + "missing source", refusal, a, "gone", "b", ENOENT, a);
        }
        row("leading slash stays in the folder", 0, a, "a", "//b", 0, b);
        row("raw bytes", 0, {"\xff\n x"}, "\xff\n x", "\xfe y", 0, {"\xfe y"});
        row("empty source", 0, a, "", "b", EINVAL, a);
        row("NUL in target is not cut", 0, a, "a", QByteArray("b\0c", 3), EINVAL, a);
        row("NUL in source is not cut", 0, a, QByteArray("a\0x", 3), "b", EINVAL, a);
        row("same name", 0, a, "a", "a", 0, a);
        row("same name, missing", 0, a, "b", "b", ENOENT, a);
        row("ENOSYS falls back", ENOSYS, a, "a", "sub b", 0, {"sub b"});
        row("EOPNOTSUPP falls back", EOPNOTSUPP, a, "a", "b", 0, b);
        row("other errors are final", EXDEV, a, "a", "b", EXDEV, a);
        row("folders are not linked", EOPNOTSUPP, {"a/"}, "a", "b", EOPNOTSUPP, a);
        row("missing folder", 0, a, "a", "b", ENOENT, a, {}, "/missing");
        row("NUL in the folder's path", 0, a, "a", "b", EINVAL, a, {}, QByteArray("\0/x", 3));
    }

    void move()
    {
        QFETCH(int, refusal);
        QFETCH(QByteArrayList, files);
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(int, error);
        QFETCH(QByteArrayList, after);
        QFETCH(QByteArray, intruder);
        QFETCH(QByteArray, folder);
        TestDir dir;
        for (const QByteArray &name : files)
            name.endsWith('/') ? dir.createFolder(name.chopped(1)) : dir.createFile(name);
        auto before = dir.contents();
        if (!intruder.isEmpty())
            ++before["intruder"];

        g_refusal = refusal;
        g_intruder = intruder;
        const RenameCall real = setRenameCall(fakeRename);
        const FileMover::Result result = FileMover(dir.nativePath() + folder).move(from, to);
        setRenameCall(real);
        QCOMPARE(result.ok, error == 0);
        QCOMPARE(result.error, error);
        QCOMPARE(result.errorText, error ? strerrorText(error) : QString());
        QCOMPARE(dir.names(), after);
        QCOMPARE(dir.contents(), before);
    }
};

QTEST_GUILESS_MAIN(TestFileMover)
#include "tst_filemover.moc"
