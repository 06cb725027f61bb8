#pragma once

#include <QPointF>
#include <QRect>
#include <QSizeF>

namespace tolvane {

// Where the check box puts its glyph and caption, in twips inside the control, and which part
// a pixel position falls on. The glyph is 195 twips (13 px) square at the left edge, the
// caption starts 240 twips (16 px) in; both are centred vertically.
struct CheckGeometry
{
    enum class Part { Control, Glyph, Caption };

    static constexpr int GlyphSize = 195;
    static constexpr int CaptionLeft = 240;

    int glyphTop = 0;
    int captionTop = 0;

    static CheckGeometry arrange(double controlHeight, double captionHeight);

    // Edges included: a point on the right or bottom edge line still counts as inside.
    static bool encloses(QPointF point, QSizeF size);

    // The part under a pixel position, given the glyph's and caption's pixel rectangles.
    static Part partAt(QPoint position, const QRect &glyph, const QRect &caption);
};

} // namespace tolvane
