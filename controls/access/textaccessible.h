#pragma once

#include "controls/access/leafaccessible.h"

namespace tolvane {

class text;

// The framed text field as a reader sees it: an editable text named by the label whose buddy
// it is, read-only while locked or disabled. Reading and editing go to the inner edit field's
// own interfaces.
class TextAccessible : public LeafAccessible
{
public:
    explicit TextAccessible(tolvane::text *field);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType t) override;

private:
    tolvane::text *field() const;
};

} // namespace tolvane
