#include "controls/check/checkpainter.h"

#include <QPainter>

namespace tolvane {

void CheckPainter::paint(QPainter &painter, const Scene &scene)
{
    painter.fillRect(QRect(QPoint(0, 0), scene.size), scene.background);
    if (!scene.glyph.isNull())
        painter.drawImage(scene.glyphAt, scene.glyph);
    QFont font = scene.font;
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    painter.setPen(scene.captionColor);
    painter.drawText(scene.captionRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     scene.caption);
}

} // namespace tolvane
