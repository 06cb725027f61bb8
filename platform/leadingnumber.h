#pragma once

#include <QStringView>

namespace tolvane {

// Reads the number a text starts with, the way every number field here reads: blanks, tabs
// and line feeds are ignored wherever they stand, "&H" and "&O" introduce hexadecimal and octal
// integers, and "." is the decimal point whatever the locale. A text without one reads as 0;
// a decimal number too large for a double reads as an infinity.
double leadingNumber(QStringView text);

} // namespace tolvane
