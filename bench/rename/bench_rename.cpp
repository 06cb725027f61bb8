// Serial rename of 20,000 files through the whole engine (plan, journal, moves) against a bare
// loop of no-replace renames over the same names.
#include "bench/benchkit.h"
#include "engine/batch/resultlist.h"
#include "engine/naming/serialnamer.h"
#include "engine/naming/serialrename.h"
#include "platform/messageboxes.h"

#include <QStringList>
#include <cstdio>

using namespace tolvane;
using namespace tolvane::bench;

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

double engineRun(const QByteArray &folder, const QByteArrayList &names)
{
    Sink results;
    Quiet messages;
    BatchState state;
    const double start = cpuSeconds();
    RunSerialRename(QStringLiteral("新名#").toUtf8(), QStringLiteral("000001"), folder, names,
                    results, messages, state);
    return cpuSeconds() - start;
}

} // namespace

int main()
{
    const StateHome state;
    QByteArrayList names;
    for (int i = 0; i < fileCount; ++i)
        names.append("photo " + QByteArray::number(i).rightJustified(5, '0') + ".jpg");
    QByteArrayList targets;
    const SerialNamer namer(QStringLiteral("新名#").toUtf8(), 1, QStringLiteral("000000"));
    for (qsizetype i = 0; i < names.size(); ++i)
        targets.append(namer.newName(i, names[i]));

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
