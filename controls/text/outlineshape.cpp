#include "controls/text/outlineshape.h"

#include <QPainter>

namespace tolvane {

OutlineShape::OutlineShape(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void OutlineShape::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void OutlineShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QPen(m_color, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace tolvane
