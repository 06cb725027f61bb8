#include "frame/skinartist.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace tolvane {

namespace {

// The whole window the pieces are cut from; any size well above the pieces' sum will do.
constexpr int Width = 400;
constexpr int Height = 300;
constexpr int CornerX = Width - 117; // where the right-hand corner pieces start
constexpr int Middle = 150;          // a row and column far from every corner

// The outline's centre line and corner radius, in pixel-centre coordinates.
constexpr double OutlineLeft = 13.5;
constexpr double OutlineTop = 11.5;
constexpr double OutlineRight = Width - 13.5;
constexpr double OutlineBottom = Height - 12.5;
constexpr double Radius = 6.0;

const QColor Ink(38, 50, 72);
// The maximise button's face in the corner pieces.
constexpr QRect RestoreFace(24, 12, 25, 16);

QRgb premultiplied(int r, int g, int b, int a)
{
    return qPremultiply(qRgba(r, g, b, a));
}

QRgb mix(QRgb p, QRgb q, double t)
{
    const auto lerp = [t](int a, int b) { return int(std::lround(a + (b - a) * t)); };
    return qRgba(lerp(qRed(p), qRed(q)), lerp(qGreen(p), qGreen(q)), lerp(qBlue(p), qBlue(q)),
                 lerp(qAlpha(p), qAlpha(q)));
}

// Signed distance from a pixel centre to the outline's rounded rectangle (negative inside).
double outlineDistance(double x, double y, double dy = 0)
{
    const double cx = (OutlineLeft + OutlineRight) / 2;
    const double cy = (OutlineTop + OutlineBottom) / 2 + dy;
    const double qx = std::abs(x - cx) - ((OutlineRight - OutlineLeft) / 2 - Radius);
    const double qy = std::abs(y - cy) - ((OutlineBottom - OutlineTop) / 2 - Radius);
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - Radius;
}

// Pearl glass, lighter at the top, with a glossy break halfway down the title bar. Lines are
// a whole pixel wide at every scale; the gradient follows the device pixel.
QRgb bodyPixel(double fx, double fy)
{
    const int x = int(std::floor(fx));
    const int y = int(std::floor(fy));
    if (y == 12)
        return premultiplied(255, 255, 255, 0xf2);
    if (y <= 37) {
        if (y == 37)
            return premultiplied(150, 165, 188, 0xf0);
        const double t = (fy - 0.5 - 13) / 24.0;
        const double shade = y < 25 ? 0.55 * t : 0.15 + 0.85 * t;
        return premultiplied(int(250 - 44 * shade), int(252 - 36 * shade), int(255 - 25 * shade),
                             0xee);
    }
    // Sides and the bottom strip: a gloss line inside the outline and a dark line along the
    // working form's edge.
    if (x == 14 || x == Width - 15 || y == Height - 14)
        return premultiplied(236, 241, 248, 0xe8);
    if (x == 20 || x == Width - 21 || y == Height - 20)
        return premultiplied(150, 165, 188, 0xf0);
    return premultiplied(206, 216, 230, 0xe6);
}

bool inHole(int x, int y)
{
    return x >= 21 && x <= Width - 22 && y >= 38 && y <= Height - 21;
}

// Every device pixel whose centre lies in the window pixel p.
void fillPixel(QImage &image, QPoint p, QRgb colour, double scale)
{
    for (int y = int(std::ceil(p.y() * scale - 0.5)); (y + 0.5) / scale < p.y() + 1; ++y)
        for (int x = int(std::ceil(p.x() * scale - 0.5)); (x + 0.5) / scale < p.x() + 1; ++x)
            image.setPixel(x, y, colour);
}

// The block of a window painted at `scale` that covers the window pixels (x, y, w, h); both
// edges rounded on their own, as the frame places its pieces.
QImage cut(const QImage &window, int x, int y, int w, int h, double scale)
{
    const auto at = [scale](int v) { return int(std::lround(v * scale)); };
    return window.copy(at(x), at(y), at(x + w) - at(x), at(y + h) - at(y));
}

} // namespace

void SkinArtist::paintShadowAndBody(QImage &image, double scale) const
{
    const QRgb outline = premultiplied(24, 32, 48, 0x80);
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            // The device pixel's centre in the window's own pixels.
            const double fx = (x + 0.5) / scale, fy = (y + 0.5) / scale;
            // Far inside the outline: left transparent, as the image starts.
            if (inHole(int(std::floor(fx)), int(std::floor(fy))))
                continue;
            const double d = outlineDistance(fx, fy);
            QRgb base = 0;
            if (d < 0) {
                base = bodyPixel(fx, fy);
            } else {
                // Lit from above: the shadow is measured from an outline shifted down a little,
                // so it is thin at the top and deepest under the window.
                const double s = std::max(outlineDistance(fx, fy, 1.5), 0.0);
                const double fall = std::clamp(1.0 - s / 13.0, 0.0, 1.0);
                base = premultiplied(0, 0, 0, int(std::lround(76 * std::pow(fall, 2.2))));
            }
            const double cover = std::clamp(1.0 - std::abs(d), 0.0, 1.0);
            row[x] = mix(base, outline, cover);
        }
    }

    // A small grip where the right side meets the bottom strip.
    const QRgb dot = premultiplied(110, 126, 152, 0xff);
    const QRgb light = premultiplied(255, 255, 255, 0xf0);
    for (const QPoint p : {QPoint(Width - 19, Height - 16), QPoint(Width - 17, Height - 16),
                           QPoint(Width - 17, Height - 18)}) {
        fillPixel(image, p, dot, scale);
        fillPixel(image, p + QPoint(1, 1), light, scale);
    }
}

void SkinArtist::paintButtons(QImage &image, int left, Lit lit, double scale, bool restore) const
{
    struct Button
    {
        Lit which;
        int left, right;         // inclusive columns in the corner piece
        int glowLeft, glowRight; // how far its glow may reach
    };
    const Button buttons[] = {
        {Minimise, 1, 23, -7, 40}, {Maximise, 23, 49, 15, 60}, {Close, 49, 91, 41, 99}};

    QPainter p(&image);
    p.translate(-left, 0);
    p.scale(scale, scale);
    p.translate(CornerX, 0);
    for (const Button &b : buttons) {
        if (b.which != lit)
            continue;
        const bool close = b.which == Close;
        const QPointF centre((b.left + b.right + 1) / 2.0, 20);
        QRadialGradient glow(centre, (b.right - b.left) / 2.0 + 10);
        glow.setColorAt(0, close ? QColor(255, 110, 70, 0xc0) : QColor(120, 200, 255, 0xc0));
        glow.setColorAt(1, QColor(0, 0, 0, 0));
        p.save();
        p.setClipRect(QRect(b.glowLeft, 0, b.glowRight - b.glowLeft + 1, 38));
        p.fillRect(QRect(b.glowLeft, 0, b.glowRight - b.glowLeft + 1, 38), glow);
        p.restore();
    }

    // The three buttons hang from the outline as one opaque group with rounded lower corners.
    QPainterPath group;
    group.moveTo(1, 12);
    group.lineTo(92, 12);
    group.lineTo(92, 24);
    group.quadTo(92, 28, 88, 28);
    group.lineTo(5, 28);
    group.quadTo(1, 28, 1, 24);
    group.closeSubpath();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(45, 58, 82));
    p.drawPath(group);

    for (const Button &b : buttons) {
        const bool close = b.which == Close;
        const bool on = b.which == lit;
        const QRectF face(b.left + 1, 12, b.right - b.left - 1, 15);
        QLinearGradient fill(0, 12, 0, 27);
        if (close) {
            fill.setColorAt(0, on ? QColor(255, 170, 150) : QColor(236, 140, 122));
            fill.setColorAt(0.48, on ? QColor(244, 84, 60) : QColor(212, 78, 58));
            fill.setColorAt(0.52, on ? QColor(228, 34, 20) : QColor(192, 44, 28));
            fill.setColorAt(1, on ? QColor(255, 96, 52) : QColor(214, 92, 60));
        } else {
            fill.setColorAt(0, on ? QColor(222, 242, 255) : QColor(246, 248, 252));
            fill.setColorAt(0.48, on ? QColor(150, 208, 250) : QColor(216, 224, 236));
            fill.setColorAt(0.52, on ? QColor(86, 160, 230) : QColor(190, 202, 222));
            fill.setColorAt(1, on ? QColor(140, 220, 255) : QColor(214, 226, 242));
        }
        QPainterPath clipped;
        clipped.addRect(face);
        p.setBrush(fill);
        p.drawPath(clipped.intersected(group.translated(0, -1)));

        // Glyphs: a bar, a window, a cross; embossed so they read on glass.
        const QPointF c = face.center();
        const QColor glyph = close ? QColor(Qt::white) : Ink;
        const QColor emboss = close ? QColor(120, 20, 10, 200) : QColor(255, 255, 255, 220);
        for (int pass = 0; pass < 2; ++pass) {
            const QPointF shift = pass == 0 ? QPointF(0, 1) : QPointF(0, 0);
            p.setPen(
                QPen(pass == 0 ? emboss : glyph, close ? 2.0 : 1.6, Qt::SolidLine, Qt::SquareCap));
            p.setBrush(Qt::NoBrush);
            if (b.which == Minimise)
                p.drawLine(c + QPointF(-4, 3) + shift, c + QPointF(4, 3) + shift);
            else if (b.which == Maximise && restore) {
                // Two windows, the front one lower left.
                p.drawRect(QRectF(c + QPointF(-4.5, -1.5) + shift, QSizeF(7, 5)));
                p.drawPolyline(
                    QPolygonF{c + QPointF(-2.5, -1.5) + shift, c + QPointF(-2.5, -3.5) + shift,
                              c + QPointF(4.5, -3.5) + shift, c + QPointF(4.5, 1.5) + shift,
                              c + QPointF(2.5, 1.5) + shift});
            } else if (b.which == Maximise)
                p.drawRect(QRectF(c + QPointF(-4.5, -3.5) + shift, QSizeF(9, 7)));
            else {
                p.drawLine(c + QPointF(-3.5, -3.5) + shift, c + QPointF(3.5, 3.5) + shift);
                p.drawLine(c + QPointF(-3.5, 3.5) + shift, c + QPointF(3.5, -3.5) + shift);
            }
        }
        p.setPen(Qt::NoPen);
    }
}

const QImage &SkinArtist::body(double scale) const
{
    if (m_body.isNull() || m_bodyScale != scale) {
        m_body = QImage(int(std::lround(Width * scale)), int(std::lround(Height * scale)),
                        QImage::Format_ARGB32_Premultiplied);
        m_body.fill(0);
        paintShadowAndBody(m_body, scale);
        m_bodyScale = scale;
    }
    return m_body;
}

QImage SkinArtist::picture(int id, double scale) const
{
    if (id == 112) {
        QImage strip(1024, 32, QImage::Format_ARGB32);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 1024; ++x)
                strip.setPixel(x, y, qRgba((x % 32) * 8, y * 8, (x / 32) * 8, 255));
        return strip;
    }
    const auto at = [scale](int v) { return int(std::lround(v * scale)); };
    // The buttons are painted only where they differ: on the corner, from the lit minimise
    // button's glow on.
    const auto corner = [&](Lit lit, bool restore, int x, int y, int w, int h) {
        const int left = at(CornerX - 7);
        QImage image = body(scale).copy(left, 0, at(Width) - left, at(38));
        paintButtons(image, left, lit, scale, restore);
        return image.copy(at(x) - left, at(y), at(x + w) - at(x), at(y + h) - at(y));
    };
    const QRect face = RestoreFace.translated(CornerX, 0);
    switch (id) {
    case 101:
        return cut(body(scale), 0, 0, 21, 38, scale);
    case 102:
        return cut(body(scale), Middle, 0, 21, 38, scale);
    case 103:
        return corner(None, false, CornerX, 0, 117, 38);
    case 104:
        return cut(body(scale), Width - 21, Middle, 21, 38, scale);
    case 105:
        return cut(body(scale), CornerX, Height - 38, 117, 38, scale);
    case 106:
        return cut(body(scale), Middle, Height - 38, 21, 38, scale);
    case 107:
        return cut(body(scale), 0, Height - 38, 21, 38, scale);
    case 108:
        return cut(body(scale), 0, Middle, 21, 38, scale);
    case 109:
        return corner(Close, false, CornerX, 0, 117, 38);
    case 110:
        return corner(Maximise, false, CornerX, 0, 117, 38);
    case 111:
        return corner(Minimise, false, CornerX - 7, 0, 124, 38);
    // The maximise button's face showing "restore", plain and lit, laid over the corner of a
    // window that fills its area.
    case 113:
        return corner(None, true, face.x(), face.y(), face.width(), face.height());
    case 114:
        return corner(Maximise, true, face.x(), face.y(), face.width(), face.height());
    default:
        return {};
    }
}

} // namespace tolvane
