// Lists and sorts a folder of 100,000 files into the file list's order and compares the time
// with `ls -1 -v` on the same folder.
#include "bench/list/benchfolder.h"
#include "engine/listing/folderlisting.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

using namespace tolvane;

namespace {

constexpr int FileCount = 100000;
constexpr int Rounds = 5;

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        qFatal("cannot create a temporary folder");
    const QByteArray folder = QFile::encodeName(dir.path());
    bench::createFiles(folder, FileCount);

    std::vector<double> ours;
    std::vector<double> theirs;
    for (int round = 0; round < Rounds; ++round) {
        theirs.push_back(bench::listingMs(folder));
        QElapsedTimer timer;
        timer.start();
        const FolderListing listing = FolderListing::read(folder, FolderListing::Kind::Files);
        ours.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (listing.count() != FileCount)
            qFatal("listed a different count");
    }
    std::printf("list_ratio=%.3f\n", bench::median(ours) / bench::median(theirs));
    bench::removeFiles(folder, FileCount);
    return 0;
}
