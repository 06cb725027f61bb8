#include "controls/check/checkglyphs.h"

namespace tolvane {

std::optional<int> CheckGlyphs::index(qint32 value, Look look)
{
    if (value < 0 || value > 2)
        return std::nullopt;
    return 4 * value + look;
}

QImage CheckGlyphs::picture(int index)
{
    if (index < 0 || index > 11)
        return {};
    return QImage(QStringLiteral(":/controls/check/check%1.png").arg(index));
}

} // namespace tolvane
