#pragma once

#include <QAccessibleWidget>
#include <QWidget>

namespace tolvane {

// A control built from parts of its own (labels, an inner field, a frame): a reader meets one
// object and never stops on the parts.
class LeafAccessible : public QAccessibleWidget
{
public:
    using QAccessibleWidget::QAccessibleWidget;

    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
};

} // namespace tolvane
