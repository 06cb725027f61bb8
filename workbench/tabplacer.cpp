#include "workbench/tabplacer.h"

#include <QEvent>
#include <QTabWidget>

namespace tolvane {

TabPlacer::TabPlacer(QTabWidget &tabs) : QObject(&tabs), m_tabs(tabs)
{
    watch(&m_tabs);
}

void TabPlacer::place(QWidget *child, QPoint pos)
{
    m_positions.insert(child, pos);
    // The page and the stack holding it move when the tab control lays itself out.
    for (QWidget *w = child->parentWidget(); w && w != &m_tabs; w = w->parentWidget())
        watch(w);
    connect(child, &QObject::destroyed, this, [this, child] { m_positions.remove(child); });
    child->move(pos - child->parentWidget()->mapTo(&m_tabs, QPoint()));
}

void TabPlacer::watch(QWidget *widget)
{
    widget->removeEventFilter(this);
    widget->installEventFilter(this);
}

bool TabPlacer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
        event->type() == QEvent::Show)
        placeAll();
    return QObject::eventFilter(watched, event);
}

void TabPlacer::placeAll()
{
    for (auto it = m_positions.cbegin(); it != m_positions.cend(); ++it) {
        QWidget *child = it.key();
        child->move(it.value() - child->parentWidget()->mapTo(&m_tabs, QPoint()));
    }
}

} // namespace tolvane
