#pragma once

#include <QImage>

namespace tolvane {

// A drawing surface over a premultiplied ARGB32 image. Blits are straight copies (alpha
// included, no blending); stretching is nearest-neighbour; every blit is clipped to both
// surfaces. A new surface is fully transparent.
class Surface
{
public:
    Surface() = default;
    Surface(int width, int height);
    // Takes an image of any format, converted to premultiplied ARGB32.
    explicit Surface(const QImage &image);

    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    bool isNull() const { return m_image.isNull(); }

    const QImage &image() const { return m_image; }
    QImage &image() { return m_image; }

    // Premultiplied ARGB; 0 outside the surface.
    QRgb pixel(int x, int y) const;
    void setPixel(int x, int y, QRgb premultiplied);
    void fill(QRgb premultiplied);

    // Copies the w × h block at (sx, sy) of source to (dx, dy).
    void copyFrom(int dx, int dy, const Surface &source, int sx, int sy, int w, int h);
    // Stretches the sw × sh block at (sx, sy) of source onto the dw × dh block at (dx, dy).
    // Empty or negative extents draw nothing.
    void stretchFrom(int dx, int dy, int dw, int dh, const Surface &source, int sx, int sy, int sw,
                     int sh);

private:
    QImage m_image;
};

} // namespace tolvane
