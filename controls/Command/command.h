#pragma once

#include "controls/Command/buttonstate.h"
#include "controls/Command/commandpainter.h"
#include "controls/Command/commandskins.h"
#include "controls/host/hostedcontrol.h"
#include "platform/surface.h"

#include <QImage>

class QLabel;
class QTimer;

namespace tolvane {

// The image button of the forms: a skinned background for each ButtonState, a caption `lbl`
// and an optional icon `imgButton`, a hover look kept by polling the pointer with `Timer1`,
// and keyboard clicks on key release.
//
// Properties (each setter notifies the host by the property's name): Enabled() and Font() are
// QWidget's own setEnabled()/setFont(), noticed as they change, also when the change comes
// from a parent; FontColor()/setFontColor() (0x00BBGGRR or a system colour),
// Caption()/setCaption(), IconAlign()/setIconAlign() (0 none, 1 left, 2 right), Icon()/setIcon()
// (a null image for none). A disabled button hides its icon but keeps its placement. Events
// arrive as the signals below, in their declaration order.
class Command : public HostedControl
{
    Q_OBJECT

public:
    explicit Command(QWidget *parent = nullptr);
    ~Command() override;

    bool Enabled() const { return isEnabledSelf(); }
    QFont Font() const { return font(); }
    qint32 FontColor() const { return m_FontColor; }
    void setFontColor(qint32 New_FontColor);
    QString Caption() const;
    void setCaption(const QString &New_Caption);
    qint32 IconAlign() const { return m_IconAlign; }
    void setIconAlign(qint32 New_IconAlign);
    QImage Icon() const { return m_Icon; }
    void setIcon(const QImage &New_Icon);

    // What the button shows, for tests and the gallery.
    ButtonState state() const { return State; }
    const Surface &surfaceImage() const { return m_image; }

Q_SIGNALS:
    void Click();
    void DblClick();
    void KeyDown(qint16 KeyCode, qint16 Shift);
    void KeyPress(qint16 KeyAscii);
    void KeyUp(qint16 KeyCode, qint16 Shift);
    void MouseOut();
    void MouseDown(qint16 Button, qint16 Shift, float X, float Y);
    void MouseMove(qint16 Button, qint16 Shift, float X, float Y);
    void MouseUp(qint16 Button, qint16 Shift, float X, float Y);

protected:
    void initProperties() override;
    void readProperties(const PropertyBag &bag) override;
    void writeProperties(PropertyBag &bag) const override;
    void resized() override;

    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void mouseOnPart(QWidget *part, QMouseEvent *event);
    void pressed(qint16 Button, qint16 Shift, float X, float Y);
    void moved(qint16 Button, qint16 Shift, float X, float Y);
    void released(qint16 Button, qint16 Shift, float X, float Y);
    void keyPressed(qint16 KeyAscii);
    void focusGained();
    void focusLost();
    void hoverExitTest();

    void RefreshState();
    // The icon placement the look follows: none while disabled.
    qint32 shownIconAlign() const { return isEnabled() ? m_IconAlign : 0; }
    void LayoutCaption();
    void LayoutIcon();
    void paint(); // PaintState of the current State
    void placeParts();

    QLabel *lbl;
    QLabel *imgButton;
    QTimer *Timer1;
    CommandSkins Image1;
    CommandPainter m_painter;

    TriFlag ButtonDown;
    TriFlag HasFocus;
    qint32 m_FontColor = 0;
    ButtonState State = Normal;
    qint32 m_IconAlign = 0;
    QImage m_Icon;

    // The parts' fractional positions; they are drawn at the nearest whole pixel.
    QPointF m_lblPos;
    QPointF m_imgButtonPos;
    // A left press reached the control and may end in a click.
    bool m_clickPending = false;
    Surface m_image;
    int m_keyDown = 0; // the key pressed on this button and not yet released
};

} // namespace tolvane
