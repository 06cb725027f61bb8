#include "engine/conversion/simplifier.h"

#include "platform/rawname.h"

#include <QList>
#include <QString>

using namespace tolvane;

// Invalid UTF-8 comes back byte for byte; valid UTF-8 comes back valid, with as many code
// points, every ASCII one in its place, and the same through the QString overload.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Simplifier &simplifier = Simplifier::shared();
    if (!simplifier.isReady())
        qFatal("no OpenCC dictionaries: %s", qPrintable(simplifier.errorText()));
    const QByteArray name(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QByteArray simplified = simplifier.simplify(name);
    if (!isValidUtf8(name)) {
        if (simplified != name)
            qFatal("invalid UTF-8 changed");
        return 0;
    }
    const QList<uint> before = QString::fromUtf8(name).toUcs4();
    const QList<uint> after = QString::fromUtf8(simplified).toUcs4();
    if (!isValidUtf8(simplified) || after.size() != before.size())
        qFatal("code points lost or made invalid");
    for (qsizetype i = 0; i < before.size(); ++i)
        if ((before[i] < 0x80 || after[i] < 0x80) && before[i] != after[i])
            qFatal("ASCII moved at code point %lld", static_cast<long long>(i));
    if (simplifier.simplify(QString::fromUtf8(name)) != QString::fromUtf8(simplified))
        qFatal("QString and UTF-8 conversions differ");
    return 0;
}
