#pragma once

#include <QRect>
#include <QtGlobal>

namespace tolvane {

// Forms measure in twips; the screen in pixels. The factor is fixed at 15 whatever the
// display's resolution, so layouts come out the same on every screen.
inline constexpr int TwipsPerPixel = 15;

inline int twipsToPixels(double twips)
{
    return qRound(twips / TwipsPerPixel);
}

inline QRect twipsToPixels(const QRect &twips)
{
    return {twipsToPixels(twips.x()), twipsToPixels(twips.y()), twipsToPixels(twips.width()),
            twipsToPixels(twips.height())};
}

inline constexpr int pixelsToTwips(int pixels)
{
    return pixels * TwipsPerPixel;
}

} // namespace tolvane
