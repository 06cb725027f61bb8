#include "controls/check/checkglyphs.h"

#include "platform/pngreader.h"

#include <array>

namespace tolvane {

std::optional<int> CheckGlyphs::index(qint32 value, Look look)
{
    if (value < 0 || value > 2)
        return std::nullopt;
    return 4 * value + look;
}

QImage CheckGlyphs::picture(int index)
{
    // Decoded once: a check box paints its glyph on every exposure.
    static const std::array<QImage, 12> pictures = [] {
        std::array<QImage, 12> decoded;
        for (int i = 0; i < 12; ++i)
            decoded[i] = readPng(QStringLiteral(":/controls/check/check%1.png").arg(i));
        return decoded;
    }();
    if (index < 0 || index > 11)
        return {};
    return pictures[index];
}

} // namespace tolvane
