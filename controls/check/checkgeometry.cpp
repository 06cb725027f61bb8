#include "controls/check/checkgeometry.h"

#include <cmath>

namespace tolvane {

namespace {

// Round to a whole number (halves to even), then halve dropping the remainder toward zero: a
// control lower than the part gets a negative top and clips it.
int centredTop(double controlHeight, double partHeight)
{
    return static_cast<int>(std::nearbyint(controlHeight - partHeight)) / 2;
}

} // namespace

CheckGeometry CheckGeometry::arrange(double controlHeight, double captionHeight)
{
    return {centredTop(controlHeight, GlyphSize), centredTop(controlHeight, captionHeight)};
}

bool CheckGeometry::encloses(QPointF point, QSizeF size)
{
    return point.x() >= 0 && point.y() >= 0 && point.x() <= size.width() &&
           point.y() <= size.height();
}

CheckGeometry::Part CheckGeometry::partAt(QPoint position, const QRect &glyph, const QRect &caption)
{
    if (glyph.contains(position))
        return Part::Glyph;
    if (caption.contains(position))
        return Part::Caption;
    return Part::Control;
}

} // namespace tolvane
