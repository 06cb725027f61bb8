#include "tests/support/randombatch.h"
#include "tests/support/statehome.h"

// The property test's random folders, batches and checks, drawn from the fuzzer's bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const tolvane::test::StateHome state;
    const uint8_t *at = data, *end = data + size;
    const QString problem = tolvane::test::randomBatch(
        [&](unsigned count) { return at < end && count ? *at++ % count : 0; });
    if (!problem.isEmpty())
        qFatal("%s", qPrintable(problem));
    return 0;
}
