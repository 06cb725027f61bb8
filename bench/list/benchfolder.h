#pragma once

// What the list benchmarks share: a folder of many empty files with names of the kinds people
// keep, the baseline listing, a median, and the resident memory of this process.
#include <QByteArray>
#include <QElapsedTimer>
#include <QtGlobal>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace tolvane::bench {

inline QByteArray fileName(int i)
{
    switch (i % 4) {
    case 0:
        return "IMG_" + QByteArray::number(i) + ".JPG";
    case 1:
        return "holiday photo " + QByteArray::number(i) + ".jpeg";
    case 2:
        return "照片" + QByteArray::number(i) + ".png";
    default:
        return "Report-v" + QByteArray::number(i % 97) + "-" + QByteArray::number(i) + ".txt";
    }
}

// openat on the folder's descriptor: a million files are made in seconds, not minutes.
inline void createFiles(const QByteArray &folder, int count)
{
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        qFatal("cannot open %s", folder.constData());
    for (int i = 0; i < count; ++i) {
        const QByteArray name = fileName(i);
        const int fd = ::openat(dir, name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            qFatal("cannot create %s", name.constData());
        ::close(fd);
    }
    ::close(dir);
}

// Removes what createFiles made; the folder itself is left to its owner.
inline void removeFiles(const QByteArray &folder, int count)
{
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int i = 0; dir >= 0 && i < count; ++i)
        ::unlinkat(dir, fileName(i).constData(), 0);
    if (dir >= 0)
        ::close(dir);
}

// Milliseconds `ls -1 -v` takes to list and order the folder: the baseline.
inline double listingMs(const QByteArray &folder)
{
    const QByteArray command = "ls -1 -v '" + folder + "' > /dev/null";
    QElapsedTimer timer;
    timer.start();
    if (std::system(command.constData()) != 0)
        qFatal("ls failed");
    return double(timer.nsecsElapsed()) / 1e6;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline long residentKiB()
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

} // namespace tolvane::bench
