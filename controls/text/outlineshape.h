#pragma once

#include <QWidget>

namespace tolvane {

// A rectangle outline one pixel wide along the widget's edges, transparent inside, so that the
// parts below it show through.
class OutlineShape : public QWidget
{
    Q_OBJECT

public:
    explicit OutlineShape(QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color = Qt::black;
};

} // namespace tolvane
