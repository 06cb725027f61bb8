#pragma once

#include "frame/captiontext.h"
#include "frame/formlayout.h"
#include "frame/framedrag.h"
#include "frame/framehittest.h"
#include "frame/framepainter.h"
#include "frame/hoverbutton.h"
#include "frame/skin.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

namespace tolvane {

class MessageBoxes;

// The skinned frame: a frameless, translucent top-level that draws its own border, caption
// and buttons, drags and sizes through its own hit test, and carries the working form over
// its transparent interior.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    // The working form is made by Load, once the frame knows it can draw itself.
    explicit Form1(std::function<QWidget *()> loadWorkingForm, QWidget *parent = nullptr);

    // Start-up, before the frame is shown. False when no PNG decoder is there: the error has
    // been shown and the working form was never loaded.
    bool Load(MessageBoxes &boxes, bool pngDecoder = Skin::decoderAvailable());
    void PaintForm();

    qint16 hoverButton() const { return m_hover.value(); }
    qint16 PaintedState() const { return m_painter.PaintedState(); }
    const FramePainter &painter() const { return m_painter; }

Q_SIGNALS:
    // After each paint has gone to the screen's backing store.
    void framePainted();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    qint16 hitTest(QPoint screen);
    void pressAt(QMouseEvent *event, qint16 answer);
    void Form_MouseMove();
    void Form_MouseUp();
    void toggleMaximise();
    void placeWorkingForm();
    // Reads whether the window is tiled, then lays out the working form and repaints.
    void followPlacement();
    // Maximised (full screen too), tiled by the window manager, or on its own.
    FramePainter::Placement placement() const;
    // Tiled or maximised: the skin's outline is the window's edge, its shadow outside.
    bool fillsArea() const;
    void unlight();
    void followScale(qreal scale);

    std::function<QWidget *()> m_loadWorkingForm;
    QPointer<QWidget> m_workingForm;
    std::optional<FormLayout> m_formLayout;
    Skin m_skin;
    CaptionText m_text;
    FramePainter m_painter;
    HoverButton m_hover;
    FrameDrag m_drag;
    qint16 m_pressAnswer = HitNowhere;
    // Maximised by the frame itself where no window manager would do it.
    bool m_selfMaximised = false;
    bool m_tiled = false;
    QRect m_normalGeometry;
};

} // namespace tolvane
