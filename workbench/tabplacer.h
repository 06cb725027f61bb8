#pragma once

#include <QHash>
#include <QObject>
#include <QPoint>

class QTabWidget;
class QWidget;

namespace tolvane {

// Keeps the controls of a tab control's pages where the form places them: relative to the tab
// control's own top-left corner, tab strip included, wherever the style puts the page area.
class TabPlacer : public QObject
{
    Q_OBJECT

public:
    explicit TabPlacer(QTabWidget &tabs);

    // Puts child (a control on one of the pages) at pos in the tab control's coordinates.
    void place(QWidget *child, QPoint pos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeAll();
    void watch(QWidget *widget);

    QTabWidget &m_tabs;
    QHash<QWidget *, QPoint> m_positions;
};

} // namespace tolvane
