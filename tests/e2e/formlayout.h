#pragma once

#include "platform/twips.h"
#include "workbench/form2layout.h"

#include <QPoint>
#include <QRect>

namespace tolvane::test {

// Screen rectangles of the working form's controls inside a frame at a given screen position,
// from the form's own layout table.
class FormLayout
{
public:
    explicit FormLayout(QPoint frameOrigin) : m_form(frameOrigin + QPoint(21, 38)) {}

    QRect at(QStringView name) const
    {
        const Form2Control &control = form2Control(name);
        const QRect pixels = twipsToPixels(control.twips);
        return pixels.translated(control.container == u"Form2" ? m_form
                                                               : at(control.container).topLeft());
    }
    // The middle of a tab's header. The strip is 20 pixels high and its headers, sized by the
    // installed CJK font to their two or three characters, about 60 pixels wide each.
    QPoint tabHeader(int index) const
    {
        return at(u"SSTab1").topLeft() + QPoint(30 + 60 * index, 10);
    }

private:
    QPoint m_form;
};

} // namespace tolvane::test
