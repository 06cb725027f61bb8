// A folder of 1,000,000 files: the program's start to its first painted frame against
// `ls -1 -v` on the same folder, and the memory the shown file list adds per file.
#include "bench/list/benchfolder.h"
#include "tests/support/privatedisplay.h"
#include "workbench/filelistbox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace tolvane;

namespace {

constexpr int FileCount = 1000000;
constexpr int Rounds = 3;

// The file list is shown on an empty folder first, so only what the entries add is counted.
double bytesPerFile(const QByteArray &folder)
{
    QTemporaryDir empty;
    FileListBox list;
    list.resize(217, 242);
    list.setPath(QFile::encodeName(empty.path()));
    list.show();
    QApplication::processEvents();
    const long before = bench::residentKiB();
    list.setPath(folder);
    list.repaint();
    QApplication::processEvents();
    if (list.count() != FileCount)
        qFatal("listed %lld files", static_cast<long long>(list.count()));
    return (bench::residentKiB() - before) * 1024.0 / FileCount;
}

double firstPaintMs(const QProcessEnvironment &env, const QString &folder)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral(TOLVANE_APP), {});
    if (!process.waitForFinished(600000) || process.exitCode() != 0)
        qFatal("the program did not come up");
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    // The list measured here needs no display; the program runs on a private one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QProcess server;
    QProcessEnvironment env = tolvane::test::privateDisplayEnvironment(server);
    env.insert(QStringLiteral("TOLVANE_FIRST_PAINT"), QStringLiteral("exit"));
    QTemporaryDir state;
    env.insert(QStringLiteral("XDG_STATE_HOME"), state.path());

    QTemporaryDir dir;
    if (!dir.isValid())
        qFatal("cannot create a temporary folder");
    const QByteArray folder = QFile::encodeName(dir.path());
    bench::createFiles(folder, FileCount);

    // Memory first, before the timing runs leave freed blocks in the heap.
    const double perFile = bytesPerFile(folder);

    std::vector<double> ours;
    std::vector<double> theirs;
    for (int round = 0; round < Rounds; ++round) {
        theirs.push_back(bench::listingMs(folder));
        ours.push_back(firstPaintMs(env, dir.path()));
    }
    bench::removeFiles(folder, FileCount);
    server.terminate();
    server.waitForFinished();
    std::printf("list1m_ratio=%.3f\n", bench::median(ours) / bench::median(theirs));
    std::printf("listmemory_ratio=%.3f\n", perFile / 100.0);
    return 0;
}
