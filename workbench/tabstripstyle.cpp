#include "workbench/tabstripstyle.h"

#include <QApplication>

namespace tolvane {

TabStripStyle::TabStripStyle(int tabHeight)
    : QProxyStyle(QApplication::style()->name()), m_tabHeight(tabHeight)
{}

QSize TabStripStyle::sizeFromContents(ContentsType type, const QStyleOption *option,
                                      const QSize &size, const QWidget *widget) const
{
    QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
    if (type == CT_TabBarTab)
        result.setHeight(m_tabHeight);
    return result;
}

} // namespace tolvane
