#include "frame/form1.h"

#include "frame/framehittest.h"
#include "frame/windowmanager.h"
#include "platform/messageboxes.h"
#include "platform/pngreader.h"

#include <QCloseEvent>
#include <QEnterEvent>
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
        QHash<QString, QRect> controls;
        int rows = 0;
        for (const QString &name : FormLayout::names()) {
            if (auto *control = m_workingForm->findChild<QWidget *>(name)) {
                controls.insert(name, control->geometry());
                rows = std::max(rows, control->fontMetrics().height());
            }
        }
        // A list keeps room for five rows and its frame.
        m_formLayout.emplace(m_workingForm->size(), controls, 5 * (rows + 2) + 4);
        setMinimumSize(m_formLayout->minimum() + Border);
    }
    resize(m_workingForm ? m_workingForm->size() + Border : minimumSize());
    if (!m_skin.LoadSkin(QStringLiteral(":/frame"), devicePixelRatioF()))
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
    followScale(devicePixelRatioF());
    m_painter.PaintForm(size(), m_hover.value(), devicePixelRatioF(), placement());
    update();
}

void Form1::followScale(qreal scale)
{
    // Another screen, or this one's scale changed: the pictures drawn for the new density.
    if (Skin::pictureScale(scale) != m_skin.scale() && m_skin.isComplete())
        m_skin.LoadSkin(QStringLiteral(":/frame"), scale);
}

void Form1::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    // Composed in the device pixels of whatever is painted on (the screen, or a picture).
    const qreal scale = painter.device()->devicePixelRatioF();
    followScale(scale);
    if (scale != m_painter.scale())
        m_painter.PaintForm(size(), m_hover.value(), scale, placement());
    else if (m_painter.image().isNull()) // released after the last paint: the same picture
        m_painter.PaintForm(size(), m_painter.PaintedState(), scale, placement());
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
    followPlacement();
}

void Form1::changeEvent(QEvent *event)
{
    // A state change can leave the size as it was; the buttons' look and the working form's
    // place must still follow.
    if (event->type() == QEvent::WindowStateChange) {
        followPlacement();
    } else if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        unlight();
    }
    QWidget::changeEvent(event);
}

// The pointer may reach a button and leave the window in one step each: the button lights on
// entering and goes dark on leaving, without waiting for a move inside.
void Form1::enterEvent(QEnterEvent *event)
{
    hitTest(event->globalPosition().toPoint());
    Form_MouseMove();
}

void Form1::leaveEvent(QEvent *)
{
    unlight();
}

void Form1::hideEvent(QHideEvent *)
{
    unlight();
}

void Form1::unlight()
{
    m_hover.clear();
    Form_MouseMove();
}

// A window manager that tiles says so as it gives a size or a state.
void Form1::followPlacement()
{
    m_tiled = windowTiled(windowHandle());
    placeWorkingForm();
    PaintForm();
}

FramePainter::Placement Form1::placement() const
{
    if (m_selfMaximised || (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return FramePainter::Placement::Maximised;
    return m_tiled ? FramePainter::Placement::Tiled : FramePainter::Placement::Floating;
}

bool Form1::fillsArea() const
{
    return placement() != FramePainter::Placement::Floating;
}

qint16 Form1::hitTest(QPoint screen)
{
    // Filling its area, the skin's outline is the window's edge, and nothing sizes.
    const bool filled = fillsArea();
    const QRect skin = filled ? geometry().marginsAdded(FramePainter::shadow()) : geometry();
    qint16 code = FrameHitTest(skin, screen);
    if (filled && hitEdges(code))
        code = HitCaption;
    const HoverButton::Step step = m_hover.hitTest(code);
    if (step.repaintNow)
        PaintForm();
    return step.answer;
}

void Form1::mousePressEvent(QMouseEvent *event)
{
    // A press on a button not lit yet (the light went with the focus, say) lights and arms it.
    qint16 answer = hitTest(event->globalPosition().toPoint());
    if (m_hover.value() != HoverButton::None) {
        answer = HitClient;
        Form_MouseMove();
    }
    pressAt(event, answer);
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
    setCursor(hitCursor(hitTest(screen)));
    Form_MouseMove();
}

void Form1::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_drag.active()) {
        m_drag.end();
        return;
    }
    // Released off the button it was pressed on: the light goes and nothing happens.
    if (m_pressAnswer == HitClient && hitTest(event->globalPosition().toPoint()) == HitClient)
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
    // Filling its area, the frame's border is the skin without its shadow.
    const QMargins shadow = fillsArea() ? FramePainter::shadow() : QMargins();
    const QPoint origin = WorkingOrigin - QPoint(shadow.left(), shadow.top());
    const QSize inner = size().grownBy(shadow) - Border;
    m_workingForm->setGeometry(QRect(origin, inner.expandedTo(QSize(0, 0))));
    // Whatever size the frame is given, by the user, a tiling window manager or a maximise,
    // the lists take it up.
    if (!m_formLayout)
        return;
    const QHash<QString, QRect> placed = m_formLayout->at(inner);
    for (auto it = placed.cbegin(); it != placed.cend(); ++it) {
        if (auto *control = m_workingForm->findChild<QWidget *>(it.key()))
            control->setGeometry(it.value());
    }
}

void Form1::closeEvent(QCloseEvent *event)
{
    m_skin.release();
    if (m_workingForm)
        m_workingForm->close();
    event->accept();
}

} // namespace tolvane
