#pragma once

#include <QProxyStyle>

namespace tolvane {

// The application's style, with tabs of a fixed height: a strip no taller than the old tab
// control's, so that the page starts where the form's controls expect it.
class TabStripStyle : public QProxyStyle
{
    Q_OBJECT

public:
    explicit TabStripStyle(int tabHeight);

    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override;

private:
    int m_tabHeight;
};

} // namespace tolvane
