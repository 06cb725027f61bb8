#include "engine/listing/drivetable.h"
#include "engine/listing/folderlisting.h"
#include "engine/listing/nameorder.h"
#include "engine/listing/takendates.h"
#include "support/rows.h"
#include "support/testdir.h"

#include <QTest>
#include <algorithm>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <tuple>

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

    // One folder for every row: sizes and times run against the names, ties among both.
    void arranged_data()
    {
        QTest::addColumn<ListOrder::Key>("key");
        QTest::addColumn<bool>("reversed");
        QTest::addColumn<TypeFilter::Preset>("preset");
        QTest::addColumn<QString>("patterns"); // used instead of the preset when given
        QTest::addColumn<QStringList>("shown");
        using K = ListOrder::Key;
        using P = TypeFilter::Preset;
        const auto row = [](const char *name, K key, bool reversed, P preset, const char *patterns,
                            const char *shown) {
            QTest::newRow(name) << key << reversed << preset << QString::fromUtf8(patterns)
                                << test::texts(shown);
        };
        row("name", K::Name, false, P::All, "", "A.JPG|b.png|c9.txt|c10.mp4|d.Mp3|README");
        row("name reversed", K::Name, true, P::All, "", "README|d.Mp3|c10.mp4|c9.txt|b.png|A.JPG");
        row("modified", K::Modified, false, P::All, "", "c10.mp4|README|b.png|c9.txt|A.JPG|d.Mp3");
        row("modified reversed, ties by name", K::Modified, true, P::All, "",
            "d.Mp3|A.JPG|b.png|c9.txt|c10.mp4|README");
        row("size, ties in natural order", K::Size, false, P::All, "",
            "d.Mp3|A.JPG|c9.txt|c10.mp4|b.png|README");
        row("size reversed", K::Size, true, P::All, "", "README|b.png|c9.txt|c10.mp4|A.JPG|d.Mp3");
        row("type, no extension first, case ignored", K::Type, false, P::All, "",
            "README|A.JPG|d.Mp3|c10.mp4|b.png|c9.txt");
        row("type reversed", K::Type, true, P::All, "", "c9.txt|b.png|c10.mp4|d.Mp3|A.JPG|README");
        // Taken: A.JPG at 50, b.png and c9.txt at 150, d.Mp3 in 9999; the rest by modification.
        row("taken, undated by modification", K::Taken, false, P::All, "",
            "A.JPG|c10.mp4|README|b.png|c9.txt|d.Mp3");
        row("taken reversed, ties by name", K::Taken, true, P::All, "",
            "d.Mp3|b.png|c9.txt|c10.mp4|README|A.JPG");
        row("pictures, upper case too", K::Name, false, P::Pictures, "", "A.JPG|b.png");
        row("music", K::Size, false, P::Music, "", "d.Mp3");
        row("documents", K::Name, false, P::Documents, "", "c9.txt");
        row("patterns, case and spaces ignored", K::Modified, true, P::All, " *.MP4 ; ;c9* ",
            "c9.txt|c10.mp4");
        row("pattern matching nothing", K::Name, false, P::All, "*.mkv", "");
    }
    void arranged()
    {
        QFETCH(ListOrder::Key, key);
        QFETCH(bool, reversed);
        QFETCH(TypeFilter::Preset, preset);
        QFETCH(QString, patterns);
        test::TestDir dir;
        dir.createFolder("sub.png");
        // d.Mp3 was written in 2400, beyond what nanoseconds since 1970 can count in 64 bits.
        const std::tuple<const char *, int, qint64> files[] = {
            {"b.png", 30, 200},  {"A.JPG", 10, 300},  {"c10.mp4", 20, 100},
            {"c9.txt", 20, 200}, {"README", 40, 100}, {"d.Mp3", 5, 13569465600}};
        for (const auto &[name, size, seconds] : files) {
            dir.createFile(name, QByteArray(size, 'x'));
            const timespec times[2] = {{seconds, 0}, {seconds, 0}};
            QCOMPARE(::utimensat(AT_FDCWD, dir.nativePath() + '/' + name, times, 0), 0);
        }
        const TypeFilter filter =
            patterns.isEmpty() ? TypeFilter::preset(preset) : TypeFilter::fromPatterns(patterns);
        static const QHash<QByteArray, qint64> taken{
            {"A.JPG", 50}, {"b.png", 150}, {"c9.txt", 150}, {"d.Mp3", 253402300799}};
        int reads = 0;
        TakenDates dates([&reads](int, const QByteArray &name) -> std::optional<qint64> {
            ++reads;
            return taken.contains(name) ? std::optional(taken.value(name)) : std::nullopt;
        });
        const FolderListing listing = FolderListing::read(
            dir.nativePath(), FolderListing::Kind::Files, {key, reversed}, filter, &dates);
        QTEST(listing.displayNames(), "shown");
        for (qsizetype i = 0; i < listing.count(); ++i)
            QCOMPARE(listing.undated(i),
                     key == ListOrder::Key::Taken && !taken.contains(listing.raw(i)));
        // Read once while a file stays as it was.
        FolderListing::read(dir.nativePath(), FolderListing::Kind::Files, {key, reversed}, filter,
                            &dates);
        QCOMPARE(reads, key == ListOrder::Key::Taken ? listing.count() : 0);
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
