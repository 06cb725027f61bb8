#include "controls/access/commandaccessible.h"

#include "controls/Command/command.h"

namespace tolvane {

CommandAccessible::CommandAccessible(Command *button)
    : ClickAccessible(button, QAccessible::PushButton, pressAction(),
                      [button] { return button->Caption(); })
{}

Command *CommandAccessible::button() const
{
    return static_cast<Command *>(widget());
}

QAccessible::State CommandAccessible::state() const
{
    QAccessible::State s = ClickAccessible::state();
    s.pressed = button()->state() == Pressed;
    return s;
}

} // namespace tolvane
