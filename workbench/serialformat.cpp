#include "workbench/serialformat.h"

#include "platform/generalnumber.h"
#include "platform/leadingnumber.h"

#include <charconv>
#include <cmath>
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

QString FormatSerial(double value, const QString &format)
{
    if (format.isEmpty() || !std::isfinite(value))
        return generalNumber(value);

    double whole = std::round(value);
    // A value that rounds to zero from below is plain zero, not "-00".
    if (whole == 0)
        whole = 0;
    // Fixed notation with no fraction writes every digit of even the largest double exactly.
    char buffer[std::numeric_limits<double>::max_exponent10 + 8];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(whole), std::chars_format::fixed, 0)
            .ptr;
    const QString digits = QString::fromLatin1(buffer, end - buffer);
    const QString padded = digits.rightJustified(format.size(), QLatin1Char('0'));
    return whole < 0 ? QLatin1Char('-') + padded : padded;
}

} // namespace tolvane
