#include "support/testdir.h"
#include "workbench/basename.h"
#include "workbench/drivetable.h"
#include "workbench/folderlisting.h"
#include "workbench/foldertree.h"
#include "workbench/nameorder.h"

#include <QTest>
#include <algorithm>
#include <random>

using namespace tolvane;
using namespace Qt::StringLiterals;

class TestNavigation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fileOrder_data()
    {
        QTest::addColumn<QList<QByteArray>>("created");
        QTest::addColumn<QStringList>("shown");

        QTest::newRow("numbers in names") << QList<QByteArray>{"file10", "file2", "file1"}
                                          << QStringList{u"file1"_s, u"file2"_s, u"file10"_s};
        QTest::newRow("letter case ignored")
            << QList<QByteArray>{"b.txt", "A.txt", "a2.txt", "C.txt"}
            << QStringList{u"A.txt"_s, u"a2.txt"_s, u"b.txt"_s, u"C.txt"_s};
        QTest::newRow("padded and plain numbers")
            << QList<QByteArray>{"img_100.jpg", "img_020.jpg", "img_3.jpg"}
            << QStringList{u"img_3.jpg"_s, u"img_020.jpg"_s, u"img_100.jpg"_s};
        QTest::newRow("hidden names left out")
            << QList<QByteArray>{".profile", "b", ".hidden.txt", "a"}
            << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("invalid UTF-8 shown escaped")
            << QList<QByteArray>{"caf\xe9.txt", "abc"} << QStringList{u"abc"_s, u"caf\\xE9.txt"_s};
        QTest::newRow("Chinese names")
            << QList<QByteArray>{"舊檔案.txt", "說明"} << QStringList{u"舊檔案.txt"_s, u"說明"_s};
        QTest::newRow("empty folder") << QList<QByteArray>{} << QStringList{};
    }
    void fileOrder()
    {
        QFETCH(QList<QByteArray>, created);
        QFETCH(QStringList, shown);
        test::TestDir dir;
        for (const QByteArray &name : created)
            dir.createFile(name);
        dir.createFolder("folder2");
        const auto before = dir.contents();

        const FolderListing listing =
            FolderListing::read(dir.nativePath(), FolderListing::Kind::Files);
        QCOMPARE(listing.error(), 0);
        QCOMPARE(listing.displayNames(), shown);
        // The raw name of every entry reaches its own file, also when it is not valid UTF-8.
        for (qsizetype i = 0; i < listing.count(); ++i)
            QCOMPARE(dir.content(listing.raw(i)), listing.raw(i));
        QCOMPARE(dir.contents(), before);
    }

    void bigListsSortedInSlices()
    {
        // Enough names to be keyed and sorted on several threads, then merged.
        QList<QByteArray> raw;
        for (int i = 0; i < 12000; ++i)
            raw.append((i % 2 ? "File" : "file") + QByteArray::number(i / 2));
        std::shuffle(raw.begin(), raw.end(), std::mt19937(7));
        QStringList display;
        for (const QByteArray &name : raw)
            display.append(QString::fromLatin1(name));

        sortNames(raw, display);
        for (int i = 0; i < 12000; ++i) {
            // Numbers in numeric order; a name differing only in case sorts by its bytes.
            const QByteArray expected = (i % 2 ? "file" : "File") + QByteArray::number(i / 2);
            QCOMPARE(raw.at(i), expected);
            QCOMPARE(display.at(i), QString::fromLatin1(expected));
        }
    }

    void foldersOnly()
    {
        test::TestDir dir;
        dir.createFolder("sub10");
        dir.createFolder("sub9");
        dir.createFolder(".git");
        dir.createFile("file");
        const FolderListing listing =
            FolderListing::read(dir.nativePath(), FolderListing::Kind::Folders);
        QCOMPARE(listing.displayNames(), (QStringList{u"sub9"_s, u"sub10"_s}));
    }

    void unreadableFolder()
    {
        const FolderListing listing =
            FolderListing::read("/nonexistent/tolvane", FolderListing::Kind::Files);
        QCOMPARE(listing.count(), 0);
        QCOMPARE(listing.error(), ENOENT);
    }

    void baseNames_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("base");

        QTest::newRow("no dot") << QByteArray("Makefile") << QByteArray("Makefile");
        QTest::newRow("leading dot") << QByteArray(".profile") << QByteArray();
        QTest::newRow("first dot") << QByteArray("photo.2023.jpg") << QByteArray("photo");
        QTest::newRow("trailing dot") << QByteArray("note.") << QByteArray("note");
        QTest::newRow("invalid UTF-8 kept") << QByteArray("\xff\xfe.bin") << QByteArray("\xff\xfe");
    }
    void baseNames()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, base);
        QCOMPARE(baseName(name), base);
    }

    void drives_data()
    {
        QTest::addColumn<QList<QByteArray>>("mounts");
        QTest::addColumn<QByteArray>("working");
        QTest::addColumn<QList<QByteArray>>("roots");
        QTest::addColumn<QList<QByteArray>>("folders");

        QTest::newRow("working folder on root")
            << QList<QByteArray>{"/mnt/usb", "/", "/home"} << QByteArray("/srv/data")
            << QList<QByteArray>{"/", "/home", "/mnt/usb"}
            << QList<QByteArray>{"/srv/data", "/home", "/mnt/usb"};
        QTest::newRow("longest mount point wins")
            << QList<QByteArray>{"/", "/home", "/home/me/disk"} << QByteArray("/home/me/disk/a")
            << QList<QByteArray>{"/", "/home", "/home/me/disk"}
            << QList<QByteArray>{"/", "/home", "/home/me/disk/a"};
        QTest::newRow("prefix is not a parent")
            << QList<QByteArray>{"/", "/home"} << QByteArray("/homework")
            << QList<QByteArray>{"/", "/home"} << QList<QByteArray>{"/homework", "/home"};
        QTest::newRow("mount point itself")
            << QList<QByteArray>{"/", "/data", "/data"} << QByteArray("/data")
            << QList<QByteArray>{"/", "/data"} << QList<QByteArray>{"/", "/data"};
    }
    void drives()
    {
        QFETCH(QList<QByteArray>, mounts);
        QFETCH(QByteArray, working);
        QFETCH(QList<QByteArray>, roots);
        QFETCH(QList<QByteArray>, folders);
        const DriveTable table(mounts, working);
        QCOMPARE(table.count(), roots.size());
        for (qsizetype i = 0; i < roots.size(); ++i) {
            QCOMPARE(table.root(i), roots.at(i));
            QCOMPARE(table.folder(i), folders.at(i));
        }
    }

    void systemDrivesStartWithRoot()
    {
        const QList<QByteArray> roots = DriveTable::mountedRoots();
        QVERIFY(!roots.isEmpty());
        const DriveTable table(roots, "/");
        QCOMPARE(table.root(0), QByteArray("/"));
        for (const QByteArray &root : roots)
            QVERIFY2(!root.startsWith("/proc") && !root.startsWith("/sys"), root.constData());
    }

    void treeRows_data()
    {
        QTest::addColumn<QByteArray>("root");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QList<QByteArray>>("paths");
        QTest::addColumn<QList<int>>("depths");
        QTest::addColumn<QByteArray>("parent");

        QTest::newRow("drive root")
            << QByteArray("/") << QByteArray("/") << QList<QByteArray>{"/", "/a", "/b"}
            << QList<int>{0, 1, 1} << QByteArray("/");
        QTest::newRow("nested on root") << QByteArray("/") << QByteArray("/x/y")
                                        << QList<QByteArray>{"/", "/x", "/x/y", "/x/y/a", "/x/y/b"}
                                        << QList<int>{0, 1, 2, 3, 3} << QByteArray("/x");
        QTest::newRow("mounted drive")
            << QByteArray("/mnt/d") << QByteArray("/mnt/d/p")
            << QList<QByteArray>{"/mnt/d", "/mnt/d/p", "/mnt/d/p/a", "/mnt/d/p/b"}
            << QList<int>{0, 1, 2, 2} << QByteArray("/mnt/d");
        QTest::newRow("outside the drive") << QByteArray("/mnt/d") << QByteArray("/q")
                                           << QList<QByteArray>{"/", "/q", "/q/a", "/q/b"}
                                           << QList<int>{0, 1, 2, 2} << QByteArray("/");
    }
    void treeRows()
    {
        QFETCH(QByteArray, root);
        QFETCH(QByteArray, path);
        QFETCH(QList<QByteArray>, paths);
        QFETCH(QList<int>, depths);
        QFETCH(QByteArray, parent);
        const QList<FolderRow> rows = folderRows(root, path, {"a", "b"});
        QCOMPARE(rows.size(), paths.size());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            QCOMPARE(rows.at(i).path, paths.at(i));
            QCOMPARE(rows.at(i).depth, depths.at(i));
            QCOMPARE(rows.at(i).open, i < rows.size() - 2);
        }
        QCOMPARE(parentFolder(path), parent);
    }
};

QTEST_GUILESS_MAIN(TestNavigation)
#include "tst_navigation.moc"
