#include "tools/iconart/iconartist.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace tolvane {

int IconArtist::px(double units) const
{
    return int(std::lround(units * m_size / 48.0));
}

QImage IconArtist::image() const
{
    const int n = m_size;
    QImage image(n, n, QImage::Format_ARGB32_Premultiplied);
    image.fill(0);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);

    // The tile: an outline ring filled over by the gradient, both on whole pixels.
    const int margin = atLeastOne(2);
    const int outline = atLeastOne(1.5);
    const double radius = 9.0 * n / 48;
    const QRectF tile(margin, margin, n - 2 * margin, n - 2 * margin);
    p.setBrush(QColor(14, 60, 120));
    p.drawRoundedRect(tile, radius, radius);
    QLinearGradient fill(0, margin, 0, n - margin);
    fill.setColorAt(0, QColor(40, 196, 184));
    fill.setColorAt(1, QColor(22, 96, 186));
    p.setBrush(fill);
    p.drawRoundedRect(tile.adjusted(outline, outline, -outline, -outline), radius - outline,
                      radius - outline);

    // The "#" decides how tall the folder must be: from the band down, an overhang, a bar,
    // a gap, a bar, an overhang, and below 32 pixels no air above or below it.
    const int left = px(9);
    const int right = n - left;
    const int tabTop = px(15);
    const int bodyTop = std::max(tabTop + 1, px(18));
    const int bandTop = std::max(bodyTop + 1, px(21));
    const int bandBottom = bandTop + atLeastOne(3);
    const int stroke = atLeastOne(2.4);
    const int air = n >= 32 ? atLeastOne(1.5) : 0;
    const int overhang = atLeastOne(1.5);
    const int strokeTop = bandBottom + air;
    const int firstBar = strokeTop + overhang;
    const int secondBar = firstBar + stroke + atLeastOne(2);
    const int strokeBottom = secondBar + stroke + overhang;
    const int bottom = std::max(px(36), strokeBottom + air);

    const int tabEnd = px(19);
    QPainterPath folder;
    folder.moveTo(left, tabTop);
    folder.lineTo(tabEnd, tabTop);
    folder.lineTo(tabEnd + (bodyTop - tabTop), bodyTop);
    folder.lineTo(right, bodyTop);
    folder.lineTo(right, bottom);
    folder.lineTo(left, bottom);
    folder.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(folder);
    p.setBrush(QColor(255, 196, 64));
    p.drawRect(QRect(left, bandTop, right - left, bandBottom - bandTop));

    p.setBrush(QColor(22, 96, 186));
    const int barLeft = px(16);
    const int barRight = n - barLeft;
    for (const int y : {firstBar, secondBar})
        p.drawRect(QRect(barLeft, y, barRight - barLeft, stroke));
    // Upright strokes at small sizes; from 48 pixels up they lean as a written "#" does.
    const int inset = std::max(1, int((barRight - barLeft) * 0.22));
    const double lean = n >= 48 ? 0.75 * n / 48 : 0;
    for (const int x : {barLeft + inset, barRight - inset - stroke}) {
        const QPointF corners[] = {{x + lean, double(strokeTop)},
                                   {x + stroke + lean, double(strokeTop)},
                                   {x + stroke - lean, double(strokeBottom)},
                                   {x - lean, double(strokeBottom)}};
        p.drawPolygon(corners, 4);
    }
    return image;
}

} // namespace tolvane
