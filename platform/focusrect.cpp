#include "platform/focusrect.h"

#include "platform/surface.h"

namespace tolvane {

namespace {

// Inverts the colour of a premultiplied pixel; colour channels never exceed alpha, so a - c
// stays a valid premultiplied value and an opaque pixel becomes its plain inverse.
QRgb inverted(QRgb p)
{
    const int a = qAlpha(p);
    return qRgba(a - qRed(p), a - qGreen(p), a - qBlue(p), a);
}

void invertDot(Surface &surface, int x, int y)
{
    if ((x + y) % 2 == 0)
        surface.setPixel(x, y, inverted(surface.pixel(x, y)));
}

} // namespace

void drawFocusRect(Surface &surface, int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    const int last = bottom - 1;
    for (int x = left; x < right; ++x) {
        invertDot(surface, x, top);
        if (last != top)
            invertDot(surface, x, last);
    }
    for (int y = top + 1; y < last; ++y) {
        invertDot(surface, left, y);
        if (right - 1 != left)
            invertDot(surface, right - 1, y);
    }
}

} // namespace tolvane
