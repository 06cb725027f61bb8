// Undoing a serial rename of 20,000 files (journal read, files found, plan, moves) against a
// bare loop of no-replace renames that puts the same names back.
#include "bench/benchkit.h"
#include "engine/batch/batchjob.h"
#include "engine/batch/undo.h"

#include <cstdio>

using namespace tolvane;
using namespace tolvane::bench;

namespace {

constexpr int fileCount = 20000;
constexpr int rounds = 9;

double undoRun()
{
    const double start = cpuSeconds();
    Undo undo;
    undo.prepare();
    undo.execute();
    const double seconds = cpuSeconds() - start;
    if (undo.stage() != Undo::Stage::Ran || !undo.problemLines().isEmpty() ||
        undo.job()->done() != fileCount) {
        std::fprintf(stderr, "the undo did not put every file back\n");
        std::exit(1);
    }
    return seconds;
}

} // namespace

int main()
{
    const StateHome state;
    QByteArrayList names, targets;
    for (int i = 0; i < fileCount; ++i) {
        names.append("photo " + QByteArray::number(i).rightJustified(5, '0') + ".jpg");
        targets.append("新名" + QByteArray::number(i + 1).rightJustified(6, '0') + ".jpg");
    }
    std::vector<double> engine, raw;
    for (int round = 0; round < rounds; ++round) {
        const Folder folder(names);
        for (int side = 0; side < 2; ++side) {
            if ((round + side) % 2) {
                BatchJob(folder.path, names,
                         [&targets](qsizetype i, const QByteArray &) { return targets[i]; }, {})
                    .run();
                engine.push_back(undoRun());
            } else {
                rawRun(folder.path, names, targets);
                raw.push_back(rawRun(folder.path, targets, names));
            }
        }
    }
    std::printf("undo_ratio=%.3f\n", median(engine) / median(raw));
    return 0;
}
