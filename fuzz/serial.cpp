#include "engine/naming/serialformat.h"
#include "engine/naming/serialnamer.h"
#include "platform/leadingnumber.h"

#include <QByteArrayList>
#include <algorithm>
#include <cmath>

using namespace tolvane;

// Input: two bytes of file index, then pattern, start text and current name split at "\n".
// A padded serial is digits (after a "-" for negatives), never shorter than its format, reading
// back as the rounded value; a new name is the pattern's bytes with each "#" replaced, plus the
// current name from its first ".".
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const qsizetype index = data[0] | data[1] << 8;
    const QByteArrayList parts =
        QByteArray(reinterpret_cast<const char *>(data) + 2, static_cast<qsizetype>(size) - 2)
            .split('\n');
    const QByteArray pattern = parts.value(0);
    const QString startText = QString::fromUtf8(parts.value(1));
    const QByteArray current = parts.value(2);

    const double start = StartValue(startText);
    const QString format = SerialFormatFor(startTextLength(startText));
    const double value = static_cast<double>(index) + start;
    const QString serial = FormatSerial(value, format);
    if (!format.isEmpty() && std::isfinite(value)) {
        const bool negative = serial.startsWith(QLatin1Char('-'));
        const QString digits = serial.mid(negative ? 1 : 0);
        const double whole = std::round(value);
        if (digits.size() < format.size() || negative != (whole < 0) ||
            !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); }) ||
            leadingNumber(serial) != whole)
            qFatal("%.17g written as %s with format %s", value, qPrintable(serial),
                   qPrintable(format));
    }

    QByteArray expected = QByteArray(pattern).replace('#', serial.toLatin1());
    if (const qsizetype dot = current.indexOf('.'); dot >= 0)
        expected += current.mid(dot);
    // A name too long for any file system is made of its head and tail only.
    constexpr qsizetype half = SerialNamer::longest / 2;
    if (expected.size() > SerialNamer::longest)
        expected = expected.first(half) + expected.last(half);
    if (SerialNamer(pattern, start, format).newName(index, current) != expected)
        qFatal("new name differs from %s", expected.constData());
    return 0;
}
