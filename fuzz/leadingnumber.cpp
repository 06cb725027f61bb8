#include "platform/leadingnumber.h"

#include "platform/generalnumber.h"

#include <QString>
#include <cmath>
#include <limits>

using namespace tolvane;

// Blanks never change what a text reads as; the result is never NaN or -0, negative only after
// a "-", whole after "&"; and a finite result reads back from the form numbers are written in.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), size);
    const double value = leadingNumber(text);
    QString bare = text;
    bare.remove(QLatin1Char(' ')).remove(QLatin1Char('\t')).remove(QLatin1Char('\n'));
    QString spread;
    for (const QChar c : bare)
        spread.append(c).append(QLatin1Char('\t'));
    if (std::isnan(value) || (value == 0 && std::signbit(value)))
        qFatal("not a number or negative zero");
    if (leadingNumber(bare) != value || leadingNumber(spread) != value)
        qFatal("blanks changed the number");
    if (value < 0 && !bare.startsWith(QLatin1Char('-')))
        qFatal("negative without a minus sign");
    if (bare.startsWith(QLatin1Char('&')) && std::isfinite(value) && std::trunc(value) != value)
        qFatal("hexadecimal or octal number with a fraction");
    if (std::isfinite(value)) {
        const double back = leadingNumber(generalNumber(value));
        if (std::fabs(back - value) >
            1e-14 * std::fabs(value) + std::numeric_limits<double>::denorm_min())
            qFatal("%.17g written as %s reads back as %.17g", value,
                   qPrintable(generalNumber(value)), back);
    }
    return 0;
}
