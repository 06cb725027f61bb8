// Reading the dates taken of 10,000 JPEGs and ordering the folder by them, against the exiv2
// tool printing the same dates, run once over all the files. Both are wall clock: the tool is
// a child process, and both read files the page cache holds.
#include "bench/benchkit.h"
#include "engine/listing/folderlisting.h"
#include "engine/listing/takendates.h"
#include "platform/photodate.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <exiv2/exiv2.hpp>
#include <random>
#include <vector>

using namespace tolvane;
using namespace tolvane::bench;

namespace {

constexpr int fileCount = 10000;
constexpr int rounds = 5;

// Photos numbered against their dates: a camera's counter that wrapped, or two cameras.
QStringList makePhotos(const QString &folder)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QBuffer jpeg;
    if (!jpeg.open(QIODevice::WriteOnly) || !image.save(&jpeg, "JPEG"))
        giveUp("Qt cannot write a JPEG");
    std::vector<int> minutes(fileCount);
    for (int i = 0; i < fileCount; ++i)
        minutes[size_t(i)] = i * 7;
    std::shuffle(minutes.begin(), minutes.end(), std::mt19937(21));
    const QDateTime first(QDate(2019, 3, 1), QTime(9, 0));
    QStringList names;
    for (int i = 0; i < fileCount; ++i) {
        const QString name = QStringLiteral("IMG_%1.jpg").arg(i, 5, 10, QLatin1Char('0'));
        QFile file(folder + u'/' + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(jpeg.data()) != jpeg.data().size())
            giveUp("cannot write the photos");
        file.close();
        const auto photo =
            Exiv2::ImageFactory::open(QFile::encodeName(file.fileName()).toStdString());
        photo->readMetadata();
        photo->exifData()["Exif.Photo.DateTimeOriginal"] =
            first.addSecs(minutes[size_t(i)] * 60).toString(u"yyyy:MM:dd HH:mm:ss").toStdString();
        photo->writeMetadata();
        names.append(name);
    }
    return names;
}

double ours(const QByteArray &folder)
{
    QElapsedTimer timer;
    timer.start();
    TakenDates dates(photoTakenAt);
    const FolderListing listing = FolderListing::read(folder, FolderListing::Kind::Files,
                                                      {ListOrder::Key::Taken, false}, {}, &dates);
    const double seconds = double(timer.nsecsElapsed()) * 1e-9;
    if (listing.count() != fileCount)
        giveUp("the folder was not listed whole");
    for (qsizetype i = 0; i < listing.count(); ++i)
        if (listing.undated(i))
            giveUp("a photo's date taken was not found");
    return seconds;
}

double tool(const QString &folder, const QStringList &names)
{
    QProcess exiv2;
    exiv2.setWorkingDirectory(folder);
    exiv2.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    exiv2.start(QStringLiteral("exiv2"),
                QStringList{QStringLiteral("-g"), QStringLiteral("Exif.Photo.DateTimeOriginal"),
                            QStringLiteral("-Pv")} +
                    names);
    if (!exiv2.waitForFinished(-1) || exiv2.exitCode() != 0)
        giveUp("the exiv2 tool failed (scripts/deps.sh installs it)");
    return double(timer.nsecsElapsed()) * 1e-9;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QStringList names = makePhotos(dir.path());
    std::vector<double> engine, baseline;
    for (int round = 0; round < rounds; ++round) {
        engine.push_back(ours(QFile::encodeName(dir.path())));
        baseline.push_back(tool(dir.path(), names));
    }
    std::fprintf(stderr, "ours %.3f s, exiv2 %.3f s\n", median(engine), median(baseline));
    std::printf("exif_ratio=%.3f\n", median(engine) / median(baseline));
    return 0;
}
