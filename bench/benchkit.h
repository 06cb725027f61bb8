#pragma once

// Pieces the file benchmarks share: fresh folders of empty files, processor time, medians.
#include "platform/messageboxes.h"

#include <QByteArrayList>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace tolvane::bench {

struct Folder
{
    explicit Folder(const QByteArrayList &names)
    {
        path = QFile::encodeName(dir.path());
        for (const QByteArray &name : names) {
            const int fd =
                ::open((path + '/' + name).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
            if (fd < 0) {
                std::perror("open");
                std::exit(1);
            }
            ::close(fd);
        }
    }
    QTemporaryDir dir;
    QByteArray path;
};

// Processor time of this process, kernel time included: renames are almost all kernel work,
// and the other builds sharing the machine then disturb the comparison far less than on a
// wall clock.
inline double cpuSeconds()
{
    timespec now;
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Ends a benchmark that cannot measure what it should.
[[noreturn]] inline void giveUp(const char *why)
{
    std::fprintf(stderr, "%s\n", why);
    std::exit(1);
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The medians of rounds of both runs, each on fresh files; who goes first alternates, so that
// neither always runs on a warmer cache.
template <typename Ours, typename Raw>
std::pair<double, double> alternatedMedians(int rounds, Ours ours, Raw raw)
{
    std::vector<double> oursTimes, rawTimes;
    for (int round = 0; round < rounds; ++round) {
        if (round % 2 == 0)
            oursTimes.push_back(ours());
        rawTimes.push_back(raw());
        if (round % 2 != 0)
            oursTimes.push_back(ours());
    }
    return {median(oursTimes), median(rawTimes)};
}

// A plain loop of no-replace renames: the floor for any rename of these files.
inline double rawRun(const QByteArray &folder, const QByteArrayList &from, const QByteArrayList &to)
{
    const double start = cpuSeconds();
    const int fd = ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    for (qsizetype i = 0; i < from.size(); ++i) {
        if (::renameat2(fd, from[i].constData(), fd, to[i].constData(), RENAME_NOREPLACE) != 0) {
            std::perror("renameat2");
            std::exit(1);
        }
    }
    ::close(fd);
    return cpuSeconds() - start;
}

// The journal and the settings go to a folder of the benchmark's own.
struct StateHome
{
    StateHome()
    {
        qputenv("XDG_STATE_HOME", QFile::encodeName(dir.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    }
    QTemporaryDir dir;
};

// Message boxes that end the benchmark: no box belongs in a measured run.
class Quiet : public MessageBoxes
{
public:
    void notice(const QString &text) override { stop(text); }
    void failure(const QString &text) override { stop(text); }
    void fatal(const QString &text) override { stop(text); }
    bool askYesNo(const QString &, const QString &) override { return false; }

private:
    static void stop(const QString &text)
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        std::exit(1);
    }
};

} // namespace tolvane::bench
