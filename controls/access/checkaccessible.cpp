#include "controls/access/checkaccessible.h"

#include "controls/check/check.h"

namespace tolvane {

CheckAccessible::CheckAccessible(check *box)
    : ClickAccessible(box, QAccessible::CheckBox, toggleAction(), [box] { return box->Caption(); })
{}

check *CheckAccessible::box() const
{
    return static_cast<check *>(widget());
}

QAccessible::State CheckAccessible::state() const
{
    QAccessible::State s = ClickAccessible::state();
    s.checkable = true;
    s.checked = box()->Value() == 1;
    s.checkStateMixed = box()->Value() == 2;
    return s;
}

} // namespace tolvane
