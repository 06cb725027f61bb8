#include "engine/listing/drivetable.h"
#include "engine/listing/folderlisting.h"
#include "engine/listing/nameorder.h"
#include "support/rows.h"
#include "support/testdir.h"

#include <QTest>
#include <algorithm>
#include <random>

using namespace tolvane;
using namespace Qt::StringLiterals;
using Names = QList<QByteArray>;

class TestNavigation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Names ending in "/" are made as folders.
    void listing_data()
    {
        QTest::addColumn<Names>("created");
        QTest::addColumn<bool>("folders");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("numbers and case")
            << test::names("file10|file2|File1|b.txt|A.txt|img_020|img_3|sub/") << false
            << test::texts("A.txt|b.txt|File1|file2|file10|img_3|img_020");
        QTest::newRow("hidden left out, invalid UTF-8 escaped")
            << test::names(".profile|.git/|caf\xe9.txt|abc") << false
            << test::texts("abc|$'caf\\351.txt'");
        QTest::newRow("folders only")
            << test::names("sub10/|sub9/|.git/|file") << true << test::texts("sub9|sub10");
    }
    void listing()
    {
        QFETCH(Names, created);
        QFETCH(bool, folders);
        QFETCH(QStringList, shown);
        test::TestDir dir;
        dir.create(created);
        const auto before = dir.contents();
        const auto kind = folders ? FolderListing::Kind::Folders : FolderListing::Kind::Files;
        const FolderListing listing = FolderListing::read(dir.nativePath(), kind);
        QCOMPARE(listing.displayNames(), shown);
        // The raw name of every file reaches that file, also when it is not valid UTF-8.
        for (qsizetype i = 0; i < listing.count() && !folders; ++i)
            QCOMPARE(dir.content(listing.raw(i)), listing.raw(i));
        QCOMPARE(dir.contents(), before);
    }

    void bigListsSortedInSlices()
    {
        // Enough names to be sorted on several threads, then merged. Numbers go in numeric
        // order; names differing only in case sort by their bytes.
        Names raw, expected;
        for (int i = 0; i < 12000; ++i) {
            raw.append((i % 2 ? "File" : "file") + QByteArray::number(i / 2));
            expected.append((i % 2 ? "file" : "File") + QByteArray::number(i / 2));
        }
        std::shuffle(raw.begin(), raw.end(), std::mt19937(7));
        const std::vector<QByteArrayView> views(raw.cbegin(), raw.cend());
        Names sorted;
        for (const qsizetype index : nameOrder(views))
            sorted.append(raw.at(index));
        QCOMPARE(sorted, expected);
    }

    void drives_data()
    {
        QTest::addColumn<Names>("mounts");
        QTest::addColumn<QByteArray>("working");
        QTest::addColumn<Names>("roots");
        QTest::addColumn<Names>("folders");
        QTest::newRow("root first, each once, longest mount point holds the folder")
            << test::names("/home/me/disk|/|/home|/home") << QByteArray("/home/me/disk/a")
            << test::names("/|/home|/home/me/disk") << test::names("/|/home|/home/me/disk/a");
        QTest::newRow("prefix is not a parent")
            << test::names("/home|/") << QByteArray("/homework") << test::names("/|/home")
            << test::names("/homework|/home");
    }
    void drives()
    {
        QFETCH(Names, mounts);
        QFETCH(QByteArray, working);
        QFETCH(Names, roots);
        QFETCH(Names, folders);
        const DriveTable table(mounts, working);
        QCOMPARE(table.count(), roots.size());
        for (qsizetype i = 0; i < roots.size(); ++i) {
            QCOMPARE(table.root(i), roots.at(i));
            QCOMPARE(table.folder(i), folders.at(i));
        }
    }
};

QTEST_GUILESS_MAIN(TestNavigation)
#include "tst_navigation.moc"
