#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace tolvane::test {

// A number below count (0 when count is 0), from a seeded generator or from a fuzzer's bytes.
using Pick = std::function<unsigned(unsigned count)>;

// Fills a temporary folder (in `parent`, else the system's) with random entries, runs a random
// batch of a kind the program makes and its undo, with `beforeUndo` in between, and removes the
// folder again: what went wrong, or nothing.
QString randomBatch(const Pick &pick, const QByteArray &parent = {},
                    const std::function<void()> &beforeUndo = {});

} // namespace tolvane::test
