#pragma once

#include "controls/check/checkgeometry.h"
#include "controls/check/checkglyphs.h"
#include "controls/host/hostedcontrol.h"

#include <QTimer>

namespace tolvane {

// The check box of the control set: a 13 x 13 glyph at the left edge and a caption to its
// right, with the values 0 (unchecked), 1 (checked) and 2 (grayed); other values are kept but
// show no glyph of their own. A click toggles 1 -> 0, 0 -> 1, 2 -> 0. While the pointer is
// over it the control polls the pointer every 10 ms and raises MouseOut when it has left.
//
// Properties: Enabled() and Font() are QWidget's own setEnabled()/setFont(), noticed as they
// change, also when the change comes from a parent; Value()/setValue(), Caption()/setCaption(),
// BackColor()/setBackColor(), ForeColor()/setForeColor(). Colours are stored colour values
// (0x00BBGGRR, or a system colour with the top bit set). Mouse coordinates are in twips.
class check : public HostedControl
{
    Q_OBJECT

public:
    explicit check(QWidget *parent = nullptr);

    bool Enabled() const { return isEnabledSelf(); }
    qint32 Value() const { return m_Value; }
    void setValue(qint32 vNewValue);
    QString Caption() const { return m_caption; }
    void setCaption(const QString &vNewCaption);
    QFont Font() const { return font(); }
    quint32 BackColor() const { return m_BackColor; }
    void setBackColor(quint32 New_BackColor);
    quint32 ForeColor() const { return m_ForeColor; }
    void setForeColor(quint32 New_ForeColor);

Q_SIGNALS:
    // Arguments go by reference, as containers expect; the control acts on no change a handler
    // makes to them.
    void Click();
    void KeyDown(qint16 &KeyCode, qint16 &Shift);
    void KeyPress(qint16 &KeyAscii);
    void KeyUp(qint16 &KeyCode, qint16 &Shift);
    void MouseDown(qint16 &Button, qint16 &Shift, float &X, float &Y);
    void MouseMove(qint16 &Button, qint16 &Shift, float &X, float &Y);
    void MouseUp(qint16 &Button, qint16 &Shift, float &X, float &Y);
    void MouseOut();

protected:
    void initProperties() override;
    void readProperties(const PropertyBag &bag) override;
    void writeProperties(PropertyBag &bag) const override;
    void resized() override { LayoutCheck(); }

    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void ShowGlyph();
    void ShowDisabledGlyph();
    void LayoutCheck();
    void showLook(CheckGlyphs::Look look);
    void applyCaptionColor();
    void onClick();
    void onMouseDown(qint16 Button, qint16 Shift, float X, float Y);
    void onMouseMove(qint16 Button, qint16 Shift, float X, float Y);
    void onTimer1();

    QRect glyphRect() const;
    QRect captionRect() const;
    // The event's position as the part it belongs to reports it, in twips.
    QPointF partPosition(CheckGeometry::Part part, QPoint pixel, bool moving) const;

    qint32 m_Value = 0;
    quint32 m_BackColor = 0;
    quint32 m_ForeColor = 0;
    QString m_caption = QStringLiteral("Check1");
    QColor m_captionColor = Qt::black;
    int m_glyph = 0;
    CheckGeometry m_layout;
    CheckGeometry::Part m_capture = CheckGeometry::Part::Control;
    QTimer m_Timer1;
};

} // namespace tolvane
