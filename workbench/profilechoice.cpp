#include "workbench/profilechoice.h"

#include <QAbstractItemView>

namespace tolvane {

ProfileChoice::ProfileChoice(QWidget *parent) : QComboBox(parent)
{
    // In the order of ConversionProfile.
    addItems({QStringLiteral("繁体 → 简体"), QStringLiteral("台湾正体 → 简体"),
              QStringLiteral("香港繁体 → 简体"), QStringLiteral("台湾正体 → 简体（含常用词）")});
    setAccessibleName(QStringLiteral("转换方式"));
    // The box fits the tab, which may cut the longest entry short: its list opens as wide as
    // that entry, and the box's tip names the whole choice.
    view()->setMinimumWidth(view()->sizeHintForColumn(0) + 8);
    setToolTip(currentText());
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        setToolTip(currentText());
        Q_EMIT Change();
    });
}

} // namespace tolvane
