#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

namespace tolvane {

// The numeric value of a typed start text (its leading number; 0 when it has none).
double StartValue(QStringView startText);

// Characters of the start text as the batch counts them (code points), saturated to fit.
qint16 startTextLength(QStringView startText);

// Zero-padding format for a start text of that many characters: at least two digits, none
// from seven characters on.
QString SerialFormatFor(qint16 length);

// Room writeSerial needs beyond the padding: every digit of the largest double and a sign.
inline constexpr qsizetype serialRoom = 320;

// Writes the serial text for a format of `width` zeros (0: the general form) into buffer, which
// holds width + serialRoom bytes, and returns its length. Makes no allocation for padded serials.
qsizetype writeSerial(char *buffer, double value, qsizetype width);

// Writes a serial with a format of zeros (rounded half away from zero, padded, never cut) or,
// with the empty format, in the general number form.
QString FormatSerial(double value, const QString &format);

} // namespace tolvane
