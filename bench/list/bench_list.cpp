// Lists and sorts a folder of 100,000 files into the file list's order and compares the time
// with `ls -1 -v` on the same folder, then reports the memory the file list widget keeps
// once it shows that folder.
#include "engine/folderlisting.h"
#include "workbench/filelistbox.h"

#include <QApplication>
#include <QByteArray>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtGlobal>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

using namespace tolvane;

namespace {

constexpr int FileCount = 100000;
constexpr int Rounds = 5;

void createFiles(const QByteArray &folder)
{
    for (int i = 0; i < FileCount; ++i) {
        QByteArray name;
        switch (i % 4) {
        case 0:
            name = "IMG_" + QByteArray::number(i) + ".JPG";
            break;
        case 1:
            name = "holiday photo " + QByteArray::number(i) + ".jpeg";
            break;
        case 2:
            name = "照片" + QByteArray::number(i) + ".png";
            break;
        default:
            name = "Report-v" + QByteArray::number(i % 97) + "-" + QByteArray::number(i) + ".txt";
        }
        const int fd = ::open((folder + '/' + name).constData(), O_WRONLY | O_CREAT, 0644);
        if (fd < 0)
            qFatal("cannot create %s", name.constData());
        ::close(fd);
    }
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

long residentKiB()
{
    long pages = 0;
    long resident = 0;
    if (FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        qFatal("cannot create a temporary folder");
    const QByteArray folder = QFile::encodeName(dir.path());
    createFiles(folder);

    // Memory first, before timing runs leave freed blocks in the heap. The widget is shown on
    // an empty folder beforehand, so only what the 100,000 entries add is counted.
    qsizetype loaded = 0;
    {
        QTemporaryDir empty;
        FileListBox list;
        list.resize(217, 242);
        list.setPath(QFile::encodeName(empty.path()));
        list.show();
        QApplication::processEvents();
        const long before = residentKiB();
        list.setPath(folder);
        QApplication::processEvents();
        loaded = list.count();
        const long after = residentKiB();
        std::printf("listmemory_ratio=%.3f\n", (after - before) / 1024.0 / 40.0);
    }
    if (loaded != FileCount)
        qFatal("listed %lld files", static_cast<long long>(loaded));

    const QByteArray command = "ls -1 -v '" + folder + "' > /dev/null";
    std::vector<double> ours;
    std::vector<double> theirs;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        if (std::system(command.constData()) != 0)
            qFatal("ls failed");
        theirs.push_back(timer.nsecsElapsed());

        timer.restart();
        const FolderListing listing = FolderListing::read(folder, FolderListing::Kind::Files);
        ours.push_back(timer.nsecsElapsed());
        if (listing.count() != FileCount)
            qFatal("listed a different count");
    }
    std::printf("list_ratio=%.3f\n", median(ours) / median(theirs));
    return 0;
}
