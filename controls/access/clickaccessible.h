#pragma once

#include "controls/access/leafaccessible.h"

namespace tolvane {

// A control a reader works by one action that does what a left click on it does: the action
// sends the control the same pointer events a click does, so that its signals come in the
// same order as from the mouse.
class ClickAccessible : public LeafAccessible
{
public:
    ClickAccessible(QWidget *control, QAccessible::Role role, const QString &action);

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

private:
    QString m_action;
};

} // namespace tolvane
