#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace tolvane {

// Moves or sizes the frame by itself where no window manager does it: the geometry follows
// the cursor from where the press started.
class FrameDrag
{
public:
    // Starts a move (no edges) or a resize of the given edges.
    void begin(Qt::Edges edges, QPoint pressed, const QRect &geometry);
    void end() { m_active = false; }
    bool active() const { return m_active; }

    // The frame's geometry with the cursor at `cursor`; sizing stops at `minimum`, keeping
    // the opposite edge where it was.
    QRect geometryAt(QPoint cursor, QSize minimum) const;

private:
    bool m_active = false;
    Qt::Edges m_edges;
    QPoint m_pressed;
    QRect m_start;
};

} // namespace tolvane
