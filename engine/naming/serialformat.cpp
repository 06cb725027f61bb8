#include "engine/naming/serialformat.h"

#include "platform/generalnumber.h"
#include "platform/leadingnumber.h"

#include <QVarLengthArray>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace tolvane {

double StartValue(QStringView startText)
{
    return leadingNumber(startText);
}

qint16 startTextLength(QStringView startText)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < startText.size(); ++i) {
        if (!(startText[i].isLowSurrogate() && i > 0 && startText[i - 1].isHighSurrogate()))
            ++count;
    }
    return static_cast<qint16>(qMin<qsizetype>(count, std::numeric_limits<qint16>::max()));
}

QString SerialFormatFor(qint16 length)
{
    if (length >= 7)
        return {};
    return QString(qMax<int>(length, 2), QLatin1Char('0'));
}

qsizetype writeSerial(char *buffer, double value, qsizetype width)
{
    if (width == 0 || !std::isfinite(value)) {
        const QByteArray general = generalNumber(value).toLatin1();
        std::memcpy(buffer, general.constData(), general.size());
        return general.size();
    }

    // A value that rounds to zero from below gives -0.0, which is not below zero: "00", not "-00".
    const double whole = std::round(value);
    char *out = buffer;
    if (whole < 0)
        *out++ = '-';
    // Fixed notation with no fraction writes every digit of even the largest double exactly.
    char digits[serialRoom];
    const char *end =
        std::to_chars(digits, digits + sizeof digits, std::fabs(whole), std::chars_format::fixed, 0)
            .ptr;
    const qsizetype count = end - digits;
    for (qsizetype i = count; i < width; ++i)
        *out++ = '0';
    std::memcpy(out, digits, count);
    return out + count - buffer;
}

QString FormatSerial(double value, const QString &format)
{
    QVarLengthArray<char, 2 * serialRoom> buffer(format.size() + serialRoom);
    return QString::fromLatin1(buffer.data(), writeSerial(buffer.data(), value, format.size()));
}

} // namespace tolvane
