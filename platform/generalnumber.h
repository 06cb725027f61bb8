#pragma once

#include <QString>

namespace tolvane {

// Writes a number in the general form users expect from a plain number field: at most 15
// significant digits, no trailing zeros, no thousands separators, "-" for negatives, "." as the
// decimal point whatever the locale (so the text reads back as the same number), and exponent
// notation ("1E+20", "1E-07") only where 15 digits do not reach.
QString generalNumber(double value);

} // namespace tolvane
