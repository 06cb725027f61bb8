#include "controls/access/commandaccessible.h"

#include "controls/Command/command.h"

namespace tolvane {

CommandAccessible::CommandAccessible(Command *button)
    : ClickAccessible(button, QAccessible::PushButton, pressAction())
{}

Command *CommandAccessible::button() const
{
    return static_cast<Command *>(widget());
}

QString CommandAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return button()->Caption();
    return ClickAccessible::text(t);
}

QAccessible::State CommandAccessible::state() const
{
    QAccessible::State s = ClickAccessible::state();
    s.pressed = button()->state() == Pressed;
    return s;
}

} // namespace tolvane
