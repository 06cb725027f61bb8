#include "frame/framedrag.h"

#include <algorithm>

namespace tolvane {

void FrameDrag::begin(Qt::Edges edges, QPoint pressed, const QRect &geometry)
{
    m_active = true;
    m_edges = edges;
    m_pressed = pressed;
    m_start = geometry;
}

QRect FrameDrag::geometryAt(QPoint cursor, QSize minimum) const
{
    const QPoint delta = cursor - m_pressed;
    if (!m_edges)
        return m_start.translated(delta);

    int left = m_start.left();
    int top = m_start.top();
    int right = m_start.left() + m_start.width();
    int bottom = m_start.top() + m_start.height();
    if (m_edges & Qt::LeftEdge)
        left = std::min(left + delta.x(), right - minimum.width());
    if (m_edges & Qt::RightEdge)
        right = std::max(right + delta.x(), left + minimum.width());
    if (m_edges & Qt::TopEdge)
        top = std::min(top + delta.y(), bottom - minimum.height());
    if (m_edges & Qt::BottomEdge)
        bottom = std::max(bottom + delta.y(), top + minimum.height());
    return QRect(left, top, right - left, bottom - top);
}

} // namespace tolvane
