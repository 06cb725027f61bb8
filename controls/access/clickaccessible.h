#pragma once

#include "controls/access/leafaccessible.h"

#include <functional>

namespace tolvane {

// A control a reader works by one action that does what a left click on it does: the action
// sends the control the same pointer events a click does, so that its signals come in the
// same order as from the mouse. It is named by its caption unless given a name of its own.
class ClickAccessible : public LeafAccessible
{
public:
    ClickAccessible(QWidget *control, QAccessible::Role role, const QString &action,
                    std::function<QString()> caption);

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

private:
    QString m_action;
    std::function<QString()> m_caption;
};

} // namespace tolvane
