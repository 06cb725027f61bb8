#include "controls/access/clickaccessible.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

namespace tolvane {

namespace {

void send(QWidget *target, QEvent::Type type, QPointF at, Qt::MouseButton button,
          Qt::MouseButtons held)
{
    QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

} // namespace

ClickAccessible::ClickAccessible(QWidget *control, QAccessible::Role role, const QString &action,
                                 std::function<QString()> caption)
    : LeafAccessible(control, role), m_action(action), m_caption(std::move(caption))
{}

QString ClickAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return m_caption();
    return LeafAccessible::text(t);
}

QStringList ClickAccessible::actionNames() const
{
    QStringList names = LeafAccessible::actionNames();
    if (widget()->isEnabled())
        names.prepend(m_action);
    return names;
}

void ClickAccessible::doAction(const QString &actionName)
{
    if (actionName != m_action) {
        LeafAccessible::doAction(actionName);
        return;
    }
    if (!widget()->isEnabled())
        return;
    // The pointer arrives, goes down and comes up in the middle of the control.
    const QPointF centre = QRectF(widget()->rect()).center();
    send(widget(), QEvent::MouseMove, centre, Qt::NoButton, Qt::NoButton);
    send(widget(), QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton);
    send(widget(), QEvent::MouseButtonRelease, centre, Qt::LeftButton, Qt::NoButton);
}

} // namespace tolvane
