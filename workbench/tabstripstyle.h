#pragma once

#include <QProxyStyle>

namespace tolvane {

// The application's style, with tabs of a fixed height, so that the page starts above the
// controls the form places on it.
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
