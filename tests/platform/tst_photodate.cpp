#include "platform/photodate.h"
#include "support/exifjpeg.h"
#include "support/testdir.h"

#include <QBuffer>
#include <QDateTime>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tolvane;
using namespace Qt::StringLiterals;

// Files a folder of photos may hold, made here; each gives its date taken or none, at once.
class TestPhotoDate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void taken_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<qint64>("size");    // grown sparse to this size; -1: a fifo
        QTest::addColumn<QByteArray>("set"); // a date the exiv2 tool writes first
        QTest::addColumn<qint64>("taken");   // -1: none
        const QByteArray date = "2021:05:01 10:20:30", none, photo = test::exifJpeg(date);
        const qint64 at = QDateTime(QDate(2021, 5, 1), QTime(10, 20, 30)).toSecsSinceEpoch();
        const qint64 undated = -1;
        QTest::newRow("taken") << photo << 0ll << none << at;
        QTest::newRow("TIFF") << photo.mid(30) << 0ll << none << at;
        QTest::newRow("digitized only") << test::exifJpeg(date, 0x9004) << 0ll << none << undated;
        QTest::newRow("camera without a clock")
            << test::exifJpeg("0000:00:00 00:00:00") << 0ll << none << undated;
        QTest::newRow("truncated in its Exif") << photo.left(60) << 0ll << none << undated;
        QTest::newRow("text named .jpg") << QByteArray("not a photo") << 0ll << none << undated;
        QTest::newRow("bad TIFF") << QByteArray("MM\0*\xff\xff\xff\xff", 8) << 0ll << none
                                  << undated;
        QTest::newRow("4 GiB") << QByteArray("\xff\xd8") << (4ll << 30) << none << undated;
        // Found in the headers of a huge photo without reading the rest.
        QTest::newRow("4 GiB photo") << photo << (4ll << 30) << none << at;
        QTest::newRow("fifo named .jpg") << none << -1ll << none << undated;
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(Qt::gray);
        QBuffer jpeg;
        QVERIFY(jpeg.open(QIODevice::WriteOnly) && image.save(&jpeg, "JPEG"));
        QTest::newRow("written by exiv2") << jpeg.data() << 0ll << date << at;
    }
    void taken()
    {
        QFETCH(QByteArray, content);
        QFETCH(qint64, size);
        QFETCH(QByteArray, set);
        test::TestDir dir;
        const QByteArray path = dir.nativePath() + "/x.jpg";
        if (size < 0)
            QCOMPARE(::mkfifo(path, 0600), 0);
        else
            dir.createFile("x.jpg", content);
        if (size > 0)
            QCOMPARE(::truncate(path, size), 0);
        if (!set.isEmpty()) {
            if (QStandardPaths::findExecutable(u"exiv2"_s).isEmpty())
                QSKIP("the exiv2 tool is not installed (scripts/deps.sh installs it)");
            const QString command =
                u"set Exif.Photo.DateTimeOriginal Ascii "_s + QLatin1String(set);
            QCOMPARE(QProcess::execute(u"exiv2"_s, {u"-M"_s, command, QFile::decodeName(path)}), 0);
        }
        const int folder = ::open(dir.nativePath(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const qint64 found = photoTakenAt(folder, "x.jpg").value_or(-1);
        ::close(folder);
        QTEST(found, "taken");
    }
};

QTEST_GUILESS_MAIN(TestPhotoDate)
#include "tst_photodate.moc"
