#include "frame/form1.h"

#include "frame/framehittest.h"
#include "frame/windowmanager.h"
#include "platform/messageboxes.h"
#include "platform/pngreader.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace tolvane {

namespace {

// The working form sits inside the border pieces: 21 pixels in at the sides, below the
// 38-pixel title bar, overlapping the transparent top rows of the bottom pieces.
constexpr QPoint WorkingOrigin(21, 38);
constexpr QSize Border(42, 58);

QFont captionFont()
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(13);
    font.setBold(true);
    return font;
}

} // namespace

Form1::Form1(std::function<QWidget *()> loadWorkingForm, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_loadWorkingForm(std::move(loadWorkingForm)), m_text(captionFont()),
      m_painter(m_skin, m_text)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tolvane"));
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    setMinimumSize(160, 76);
    const QImage icon = readPng(QStringLiteral(":/icon/tolvane.png"));
    setWindowIcon(QIcon(QPixmap::fromImage(icon)));
    m_painter.setIcon(icon);
}

bool Form1::Load(MessageBoxes &boxes, bool pngDecoder)
{
    if (!pngDecoder) {
        boxes.fatal(QStringLiteral("Error loading GDI+!"));
        return false;
    }
    // Loading the working form runs its own load handler before the frame goes on.
    m_workingForm = m_loadWorkingForm ? m_loadWorkingForm() : nullptr;
    if (m_workingForm) {
        m_workingForm->setParent(this);
        m_workingForm->hide();
        // The frame's background is transparent; the working form paints its own so that it
        // stays opaque.
        m_workingForm->setAutoFillBackground(true);
    }
    resize(m_workingForm ? m_workingForm->size() + Border : minimumSize());
    if (!m_skin.LoadSkin())
        qWarning("the frame's skin is incomplete; it draws with holes");
    if (m_workingForm) {
        placeWorkingForm();
        m_workingForm->show();
    }
    return true;
}

void Form1::PaintForm()
{
    m_painter.setCaption(windowTitle());
    m_painter.PaintForm(size(), m_hover.value(), devicePixelRatioF());
    update();
}

void Form1::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    // Composed in the device pixels of whatever is painted on (the screen, or a picture).
    const qreal scale = painter.device()->devicePixelRatioF();
    if (scale != m_painter.scale())
        m_painter.PaintForm(size(), m_hover.value(), scale);
    else if (m_painter.image().isNull()) // released after the last paint: the same picture
        m_painter.PaintForm(size(), m_painter.PaintedState(), scale);
    QImage image = m_painter.image().image();
    image.setDevicePixelRatio(scale);
    // The composed image carries its own alpha: replace, never blend.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    // One rectangle at a time: with the working form cut out, the area to paint is a ring,
    // which Qt would copy span by span, handing the spans to a thread pool; a rectangle is
    // copied straight.
    for (const QRect &rect : event->region()) {
        painter.setClipRect(rect);
        painter.drawImage(QPointF(0, 0), image);
    }
    painter.end();
    // A window-sized picture of which only the border shows: kept only until it is on the
    // screen. Hover, resizing and state changes compose it anew before they repaint anyway.
    m_painter.releaseImage();
    Q_EMIT framePainted();
}

void Form1::resizeEvent(QResizeEvent *)
{
    placeWorkingForm();
    PaintForm();
}

void Form1::changeEvent(QEvent *event)
{
    // A state change can leave the size as it was; the buttons' look must still follow.
    if (event->type() == QEvent::WindowStateChange)
        PaintForm();
    QWidget::changeEvent(event);
}

qint16 Form1::hitTest(QPoint screen)
{
    const HoverButton::Step step = m_hover.hitTest(FrameHitTest(geometry(), screen));
    if (step.repaintNow)
        PaintForm();
    return step.answer;
}

void Form1::mousePressEvent(QMouseEvent *event)
{
    pressAt(event, hitTest(event->globalPosition().toPoint()));
}

void Form1::mouseDoubleClickEvent(QMouseEvent *event)
{
    const qint16 answer = hitTest(event->globalPosition().toPoint());
    if (answer == HitCaption && event->button() == Qt::LeftButton) {
        m_pressAnswer = answer;
        toggleMaximise();
        return;
    }
    pressAt(event, answer);
}

void Form1::pressAt(QMouseEvent *event, qint16 answer)
{
    m_pressAnswer = answer;
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint screen = event->globalPosition().toPoint();
    const Qt::Edges edges = hitEdges(answer);
    QWindow *window = windowHandle();
    if (answer == HitCaption) {
        if (!window || !window->startSystemMove())
            m_drag.begin({}, screen, geometry());
    } else if (edges) {
        if (!window || !window->startSystemResize(edges))
            m_drag.begin(edges, screen, geometry());
    }
}

void Form1::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint screen = event->globalPosition().toPoint();
    if (m_drag.active()) {
        setGeometry(m_drag.geometryAt(screen, minimumSize()));
        return;
    }
    const qint16 answer = hitTest(screen);
    setCursor(hitCursor(answer));
    // Only an answer of "client" lets the move reach the frame's own handler.
    if (answer == HitClient)
        Form_MouseMove();
}

void Form1::mouseReleaseEvent(QMouseEvent *)
{
    if (m_drag.active()) {
        m_drag.end();
        return;
    }
    if (m_pressAnswer == HitClient)
        Form_MouseUp();
    m_pressAnswer = HitNowhere;
}

void Form1::Form_MouseMove()
{
    if (m_painter.PaintedState() != m_hover.value())
        PaintForm();
}

void Form1::Form_MouseUp()
{
    switch (m_hover.value()) {
    case HoverButton::Minimise:
        m_hover.clear();
        setWindowState((windowState() & ~Qt::WindowActive) | Qt::WindowMinimized);
        break;
    case HoverButton::Maximise:
        m_hover.clear();
        toggleMaximise();
        break;
    case HoverButton::Close:
        close();
        break;
    default:
        break;
    }
}

void Form1::toggleMaximise()
{
    if (windowManagerPresent()) {
        setWindowState(windowState() ^ Qt::WindowMaximized);
        return;
    }
    // Nothing else will size the window: remember where it was and fill the screen.
    if (m_selfMaximised) {
        m_selfMaximised = false;
        setGeometry(m_normalGeometry);
    } else if (QScreen *here = screen()) {
        m_normalGeometry = geometry();
        m_selfMaximised = true;
        setGeometry(here->availableGeometry());
    }
    PaintForm();
}

void Form1::placeWorkingForm()
{
    if (!m_workingForm)
        return;
    const QSize inner = size() - Border;
    m_workingForm->setGeometry(QRect(WorkingOrigin, inner.expandedTo(QSize(0, 0))));
}

void Form1::closeEvent(QCloseEvent *event)
{
    m_skin.release();
    if (m_workingForm)
        m_workingForm->close();
    event->accept();
}

} // namespace tolvane
