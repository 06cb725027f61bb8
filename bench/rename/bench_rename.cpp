// Serial rename of 20,000 files against a bare loop of no-replace renames over the same names.
#include "engine/renameplan.h"
#include "engine/resultlist.h"
#include "engine/serialrename.h"
#include "platform/messageboxes.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

using namespace tolvane;

namespace {

constexpr int fileCount = 20000;
constexpr int rounds = 9;

class Sink : public ResultList
{
public:
    void clear() override { m_items.clear(); }
    void append(const QString &name) override { m_items.append(name); }

private:
    QStringList m_items;
};

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

// A fresh folder of empty files for one round.
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
double cpuSeconds()
{
    timespec now;
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double engineRun(const QByteArray &folder, const QByteArrayList &names)
{
    Sink results;
    Quiet messages;
    BatchState state;
    const double start = cpuSeconds();
    RunSerialRename(QStringLiteral("新名#"), QStringLiteral("000001"), folder, names, results,
                    messages, state);
    return cpuSeconds() - start;
}

double rawRun(const QByteArray &folder, const QByteArrayList &from, const QByteArrayList &to)
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

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main()
{
    QByteArrayList names;
    for (int i = 0; i < fileCount; ++i)
        names.append("photo " + QByteArray::number(i).rightJustified(5, '0') + ".jpg");
    QByteArrayList targets;
    for (const RenameEntry &entry :
         PlanRename(QStringLiteral("新名#"), QStringLiteral("000001"), "/", names))
        targets.append(entry.targetName);

    // Each round gets new files; inside it both sides rename the same files in the same
    // folder, which is put back to the old names (untimed) in between.
    std::vector<double> engine, raw;
    for (int round = 0; round < rounds; ++round) {
        const Folder folder(names);
        for (int side = 0; side < 2; ++side) {
            if ((round + side) % 2)
                engine.push_back(engineRun(folder.path, names));
            else
                raw.push_back(rawRun(folder.path, names, targets));
            rawRun(folder.path, targets, names);
        }
    }
    std::printf("rename_ratio=%.3f\n", median(engine) / median(raw));
    return 0;
}
