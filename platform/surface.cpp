#include "platform/surface.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tolvane {

Surface::Surface(int width, int height)
    : m_image(std::max(width, 0), std::max(height, 0), QImage::Format_ARGB32_Premultiplied)
{
    m_image.fill(0);
}

Surface::Surface(const QImage &image)
    : m_image(image.convertToFormat(QImage::Format_ARGB32_Premultiplied))
{}

QRgb Surface::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width() || y >= height())
        return 0;
    return reinterpret_cast<const QRgb *>(m_image.constScanLine(y))[x];
}

void Surface::setPixel(int x, int y, QRgb premultiplied)
{
    if (x < 0 || y < 0 || x >= width() || y >= height())
        return;
    reinterpret_cast<QRgb *>(m_image.scanLine(y))[x] = premultiplied;
}

void Surface::fill(QRgb premultiplied)
{
    if (!isNull())
        m_image.fill(premultiplied);
}

void Surface::copyFrom(int dx, int dy, const Surface &source, int sx, int sy, int w, int h)
{
    // Clip against the source, then against this surface, moving both origins together.
    if (sx < 0) {
        dx -= sx;
        w += sx;
        sx = 0;
    }
    if (sy < 0) {
        dy -= sy;
        h += sy;
        sy = 0;
    }
    if (dx < 0) {
        sx -= dx;
        w += dx;
        dx = 0;
    }
    if (dy < 0) {
        sy -= dy;
        h += dy;
        dy = 0;
    }
    w = std::min({w, source.width() - sx, width() - dx});
    h = std::min({h, source.height() - sy, height() - dy});
    if (w <= 0 || h <= 0)
        return;

    // A copy down within one surface must start at the bottom, or it reads rows it has
    // already overwritten.
    const bool bottomUp = &source == this && dy > sy;
    for (int i = 0; i < h; ++i) {
        const int row = bottomUp ? h - 1 - i : i;
        auto *to = reinterpret_cast<QRgb *>(m_image.scanLine(dy + row));
        const auto *from = reinterpret_cast<const QRgb *>(source.m_image.constScanLine(sy + row));
        std::memmove(to + dx, from + sx, sizeof(QRgb) * w);
    }
}

void Surface::stretchFrom(int dx, int dy, int dw, int dh, const Surface &source, int sx, int sy,
                          int sw, int sh)
{
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || source.isNull() || isNull())
        return;

    // Each destination pixel takes the source pixel under its centre.
    const auto mapped = [](int i, int s, int d) {
        return static_cast<int>((2LL * i + 1) * s / (2LL * d));
    };
    const int x0 = std::max(0, -dx);
    const int x1 = std::min(dw, width() - dx);
    const int y0 = std::max(0, -dy);
    const int y1 = std::min(dh, height() - dy);
    if (x0 >= x1 || y0 >= y1)
        return;

    std::vector<int> columns(x1 - x0);
    for (int i = x0; i < x1; ++i)
        columns[i - x0] = sx + mapped(i, sw, dw);

    for (int j = y0; j < y1; ++j) {
        const int srcY = sy + mapped(j, sh, dh);
        if (srcY < 0 || srcY >= source.height())
            continue;
        const auto *from = reinterpret_cast<const QRgb *>(source.m_image.constScanLine(srcY));
        auto *to = reinterpret_cast<QRgb *>(m_image.scanLine(dy + j));
        for (int i = x0; i < x1; ++i) {
            const int srcX = columns[i - x0];
            if (srcX >= 0 && srcX < source.width())
                to[dx + i] = from[srcX];
        }
    }
}

} // namespace tolvane
