#include "controls/Command/command.h"

#include "controls/Command/commandlayout.h"
#include "controls/host/propertybag.h"
#include "platform/colorvalue.h"
#include "platform/cursor.h"
#include "platform/virtualkey.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QShortcutEvent>
#include <QTimer>
#include <utility>

namespace tolvane {

namespace {

constexpr quint32 SystemWindowColour = 0x80000005;
constexpr QSize IconBoxSize(17, 17);
// The press offset: once rounded, one pixel down and one to the right.
constexpr float PressOffset = 1.01f;

void place(QWidget *part, QPointF pos)
{
    part->move(qRound(pos.x()), qRound(pos.y()));
}

// Modifier keys are pressed on their way to a shortcut or a focus move, not to click.
bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return false;
    }
}

} // namespace

Command::Command(QWidget *parent)
    : HostedControl(parent), lbl(new QLabel(QStringLiteral("Command"), this)),
      imgButton(new QLabel(this)), Timer1(new QTimer(this)), m_painter(Image1)
{
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    setMouseTracking(true);

    lbl->setObjectName(QStringLiteral("lbl"));
    lbl->setTextFormat(Qt::PlainText);
    lbl->setMouseTracking(true);
    lbl->adjustSize();
    lbl->installEventFilter(this);

    imgButton->setObjectName(QStringLiteral("imgButton"));
    imgButton->setFixedSize(IconBoxSize);
    imgButton->setAlignment(Qt::AlignCenter);
    imgButton->setAutoFillBackground(true);
    QPalette iconPalette = imgButton->palette();
    iconPalette.setColor(QPalette::Window, colorFromValue(SystemWindowColour));
    imgButton->setPalette(iconPalette);
    imgButton->setMouseTracking(true);
    imgButton->hide();
    imgButton->installEventFilter(this);

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &Command::hoverExitTest);

    installEventFilter(this);
}

Command::~Command() = default;

void Command::setFontColor(qint32 New_FontColor)
{
    m_FontColor = New_FontColor;
    // The disabled group keeps the platform's greyed text.
    QPalette palette = lbl->palette();
    const QColor colour = colorFromValue(quint32(New_FontColor));
    palette.setColor(QPalette::Active, QPalette::WindowText, colour);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, colour);
    lbl->setPalette(palette);
    notifyChanged(QStringLiteral("FontColor"));
}

QString Command::Caption() const
{
    return lbl->text();
}

void Command::setCaption(const QString &New_Caption)
{
    lbl->setText(New_Caption);
    lbl->adjustSize();
    resized();
    notifyChanged(QStringLiteral("Caption"));
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
}

void Command::setIconAlign(qint32 New_IconAlign)
{
    if (New_IconAlign != 0) {
        m_IconAlign = New_IconAlign;
        notifyChanged(QStringLiteral("IconAlign"));
        LayoutCaption();
        LayoutIcon();
    } else {
        imgButton->hide();
        m_IconAlign = 0;
        LayoutCaption();
    }
}

void Command::setIcon(const QImage &New_Icon)
{
    m_Icon = New_Icon;
    imgButton->clear();
    if (New_Icon.isNull())
        return;
    // The box keeps its size; a larger picture is scaled down to fit it.
    QImage shown = New_Icon;
    if (shown.width() > IconBoxSize.width() || shown.height() > IconBoxSize.height())
        shown = shown.scaled(IconBoxSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    imgButton->setPixmap(QPixmap::fromImage(shown));
    notifyChanged(QStringLiteral("Icon"));
    if (m_IconAlign == 0)
        m_IconAlign = 1;
    LayoutCaption();
    LayoutIcon();
    imgButton->setVisible(isEnabled());
}

void Command::initProperties()
{
    setEnabled(true);
    setFont(ambientFont());
    RefreshState();
    setIcon(Icon());
    setCaption(displayName());
}

void Command::readProperties(const PropertyBag &bag)
{
    m_IconAlign = bag.read<qint32>(u"IconAlign", 0);
    setIcon(bag.read<QImage>(u"Icon", Icon()));
    setEnabled(bag.read<bool>(u"Enabled", true));
    setCaption(bag.read<QString>(u"Caption", displayName()));
    setFont(bag.read<QFont>(u"Font", ambientFont()));
    setFontColor(bag.read<qint32>(u"FontColor", 0));
}

void Command::writeProperties(PropertyBag &bag) const
{
    bag.write<qint32>(QStringLiteral("IconAlign"), m_IconAlign, 0);
    bag.write(QStringLiteral("Icon"), QVariant(Icon()), QVariant::fromValue<qint32>(0));
    bag.write<bool>(QStringLiteral("Enabled"), isEnabledSelf(), true);
    bag.write<QString>(QStringLiteral("Caption"), Caption(), displayName());
    bag.write<QFont>(QStringLiteral("Font"), font(), ambientFont());
    bag.write<qint32>(QStringLiteral("FontColor"), m_FontColor, 0);
}

void Command::resized()
{
    m_image = Surface(width(), height());
    RefreshState();
}

bool Command::event(QEvent *event)
{
    // An access key reaches the button as a shortcut; only Enter clicks it.
    if (event->type() == QEvent::Shortcut) {
        const QKeySequence key = static_cast<QShortcutEvent *>(event)->key();
        if (key == QKeySequence(Qt::Key_Return) || key == QKeySequence(Qt::Key_Enter))
            Q_EMIT Click();
        return true;
    }
    return HostedControl::event(event);
}

void Command::changeEvent(QEvent *event)
{
    HostedControl::changeEvent(event);
    // Enabled and font follow the widget, whoever changed them (a parent, a QWidget pointer).
    if (event->type() == QEvent::EnabledChange) {
        RefreshState();
        notifyChanged(QStringLiteral("Enabled"));
    } else if (event->type() == QEvent::FontChange) {
        lbl->setFont(font());
        lbl->adjustSize();
        notifyChanged(QStringLiteral("Font"));
        LayoutCaption();
    }
}

bool Command::eventFilter(QObject *watched, QEvent *event)
{
    // The surface and both parts take the mouse alike, each with its own coordinates. A
    // disabled surface gets no input at all.
    if ((watched == this || watched == lbl || watched == imgButton) && isEnabled()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            mouseOnPart(static_cast<QWidget *>(watched), static_cast<QMouseEvent *>(event));
            return true;
        default:
            break;
        }
    }
    return HostedControl::eventFilter(watched, event);
}

void Command::mouseOnPart(QWidget *part, QMouseEvent *event)
{
    const auto x = float(event->position().x());
    const auto y = float(event->position().y());
    const qint16 shift = shiftState(event->modifiers());
    const bool left = event->button() == Qt::LeftButton;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (left)
            m_clickPending = true;
        pressed(mouseButtons(event->button()), shift, x, y);
        break;
    case QEvent::MouseButtonDblClick:
        // The second press of a double click; its release is no click of its own.
        if (left) {
            m_clickPending = false;
            Q_EMIT DblClick();
            pressed(1, 0, 0, 0);
        } else {
            pressed(mouseButtons(event->button()), shift, x, y);
        }
        break;
    case QEvent::MouseMove:
        moved(mouseButtons(event->buttons()), shift, x, y);
        break;
    case QEvent::MouseButtonRelease: {
        released(mouseButtons(event->button()), shift, x, y);
        // The part holds the mouse until release; a release off the control is no click.
        const bool inside = rect().contains(part->mapTo(this, event->position().toPoint()));
        if (left && std::exchange(m_clickPending, false) && inside)
            Q_EMIT Click();
        break;
    }
    default:
        break;
    }
}

void Command::keyPressEvent(QKeyEvent *event)
{
    Q_EMIT KeyDown(virtualKeyCode(event->key()), shiftState(event->modifiers()));
    if (isModifierKey(event->key()))
        return;
    if (!event->isAutoRepeat())
        m_keyDown = event->key();
    pressed(1, 0, 0, 0);
    const QString text = event->text();
    if (!text.isEmpty())
        keyPressed(qint16(text.at(0).unicode()));
}

void Command::keyReleaseEvent(QKeyEvent *event)
{
    // X11 repeats a held key as release and press pairs; only the last release is real.
    if (event->isAutoRepeat())
        return;
    const qint16 code = virtualKeyCode(event->key());
    Q_EMIT KeyUp(code, shiftState(event->modifiers()));
    // A release whose press went elsewhere (the Enter that closed a message box over this
    // button) must not click it, or the box would come straight back.
    if (isModifierKey(event->key()) || std::exchange(m_keyDown, 0) != event->key())
        return;
    released(0, 0, 0, 0);
    keyPressed(code);
}

void Command::focusInEvent(QFocusEvent *event)
{
    HostedControl::focusInEvent(event);
    focusGained();
}

void Command::focusOutEvent(QFocusEvent *event)
{
    HostedControl::focusOutEvent(event);
    focusLost();
}

void Command::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_image.image());
}

void Command::pressed(qint16 Button, qint16 Shift, float X, float Y)
{
    if (Button != 1 || !isEnabled() || isOne(ButtonDown))
        return;
    m_lblPos += QPointF(PressOffset, PressOffset);
    m_imgButtonPos += QPointF(PressOffset, PressOffset);
    placeParts();
    ButtonDown = true;
    State = Pressed;
    paint();
    Q_EMIT MouseDown(Button, Shift, X, Y);
}

void Command::moved(qint16 Button, qint16 Shift, float X, float Y)
{
    if (!isEnabled() || State == Hover || isOne(ButtonDown))
        return;
    State = Hover;
    paint();
    Timer1->start();
    Q_EMIT MouseMove(Button, Shift, X, Y);
}

void Command::released(qint16 Button, qint16 Shift, float X, float Y)
{
    if (!isEnabled())
        return;
    LayoutCaption();
    LayoutIcon();
    State = Hover;
    paint();
    ButtonDown = false;
    Q_EMIT MouseUp(Button, Shift, X, Y);
}

void Command::keyPressed(qint16 KeyAscii)
{
    if (isOne(ButtonDown))
        return;
    Q_EMIT KeyPress(KeyAscii);
    Q_EMIT Click();
}

void Command::focusGained()
{
    if (!isEnabled())
        return;
    HasFocus = true;
    State = Focused;
    // While held down the pressed skin stays on screen.
    if (!isOne(ButtonDown))
        paint();
}

void Command::focusLost()
{
    if (!isEnabled())
        return;
    HasFocus = false;
    State = Normal;
    paint();
}

void Command::hoverExitTest()
{
    // The far edges count as inside.
    const QPoint p = mapFromGlobal(cursorPos());
    if (p.x() >= 0 && p.y() >= 0 && p.x() <= width() && p.y() <= height())
        return;
    Timer1->stop();
    if (isOne(HasFocus)) {
        State = Focused;
        paint();
    } else {
        focusLost();
    }
    Q_EMIT MouseOut();
}

void Command::RefreshState()
{
    State = isEnabled() ? Normal : Disabled;
    paint();
    imgButton->setVisible(shownIconAlign() != 0);
    LayoutCaption();
    LayoutIcon();
}

void Command::LayoutCaption()
{
    m_lblPos = QPointF(CommandLayout::captionLeft(shownIconAlign(), float(m_lblPos.x()), size(),
                                                  lbl->size(), imgButton->size()),
                       CommandLayout::captionTop(size(), lbl->size()));
    place(lbl, m_lblPos);
}

void Command::LayoutIcon()
{
    m_imgButtonPos = QPointF(CommandLayout::iconLeft(m_IconAlign, size(), imgButton->size()),
                             CommandLayout::iconTop(size(), imgButton->size()));
    place(imgButton, m_imgButtonPos);
}

void Command::paint()
{
    m_painter.PaintState(m_image, State, ButtonDown, HasFocus);
    update();
}

void Command::placeParts()
{
    place(lbl, m_lblPos);
    place(imgButton, m_imgButtonPos);
}

} // namespace tolvane
