#pragma once

#include "controls/access/clickaccessible.h"

namespace tolvane {

class Command;

// The image button as a reader sees it: a push button named by its caption.
class CommandAccessible : public ClickAccessible
{
public:
    explicit CommandAccessible(Command *button);

    QAccessible::State state() const override;

private:
    Command *button() const;
};

} // namespace tolvane
