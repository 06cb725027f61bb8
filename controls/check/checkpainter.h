#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>

class QPainter;

namespace tolvane {

// Draws the check box: its background, the glyph picture unscaled, and the caption in its
// colour without antialiasing (as the system label draws it).
class CheckPainter
{
public:
    struct Scene
    {
        QSize size;
        QColor background;
        QImage glyph;
        QPoint glyphAt;
        QString caption;
        QFont font;
        QColor captionColor;
        QRect captionRect;
    };

    static void paint(QPainter &painter, const Scene &scene);
};

} // namespace tolvane
