#include "controls/access/textaccessible.h"

#include "controls/text/text.h"

namespace tolvane {

TextAccessible::TextAccessible(tolvane::text *field)
    : LeafAccessible(field, QAccessible::EditableText)
{}

tolvane::text *TextAccessible::field() const
{
    return static_cast<tolvane::text *>(widget());
}

QString TextAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return field()->Text();
    return LeafAccessible::text(t);
}

QAccessible::State TextAccessible::state() const
{
    QAccessible::State s = LeafAccessible::state();
    const bool readOnly = field()->Locked() || !field()->isEnabled();
    s.readOnly = readOnly;
    s.editable = !readOnly;
    return s;
}

void *TextAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface || t == QAccessible::EditableTextInterface) {
        if (QAccessibleInterface *inner =
                QAccessible::queryAccessibleInterface(field()->focusProxy()))
            return inner->interface_cast(t);
    }
    return LeafAccessible::interface_cast(t);
}

} // namespace tolvane
