#pragma once

#include "controls/access/clickaccessible.h"

namespace tolvane {

class check;

// The check box as a reader sees it: named by its caption, checked at 1, mixed at 2.
class CheckAccessible : public ClickAccessible
{
public:
    explicit CheckAccessible(check *box);

    QAccessible::State state() const override;

private:
    check *box() const;
};

} // namespace tolvane
