#include "controls/check/check.h"

#include "controls/check/checkpainter.h"
#include "controls/host/propertybag.h"
#include "platform/colorvalue.h"
#include "platform/cursor.h"
#include "platform/twips.h"
#include "platform/virtualkey.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace tolvane {

namespace {

constexpr quint32 ButtonFace = 0x8000000F;
const QColor DisabledCaption(161, 161, 146); // 0x92A1A1

} // namespace

check::check(QWidget *parent) : HostedControl(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    m_Timer1.setInterval(10);
    connect(&m_Timer1, &QTimer::timeout, this, &check::onTimer1);
    ShowGlyph();
    LayoutCheck();
    m_Timer1.start();
}

void check::setValue(qint32 vNewValue)
{
    QAccessible::State changed;
    changed.checked = (m_Value == 1) != (vNewValue == 1);
    changed.checkStateMixed = (m_Value == 2) != (vNewValue == 2);
    m_Value = vNewValue;
    ShowGlyph();
    notifyChanged(QStringLiteral("Value"));
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void check::setCaption(const QString &vNewCaption)
{
    m_caption = vNewCaption;
    LayoutCheck();
    notifyChanged(QStringLiteral("Caption"));
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
}

void check::setBackColor(quint32 New_BackColor)
{
    m_BackColor = New_BackColor;
    notifyChanged(QStringLiteral("BackColor"));
    update();
}

void check::setForeColor(quint32 New_ForeColor)
{
    m_ForeColor = New_ForeColor;
    notifyChanged(QStringLiteral("ForeColor"));
    applyCaptionColor();
}

void check::initProperties()
{
    setCaption(displayName());
    setEnabled(true);
    setValue(0);
    setFont(ambientFont());
    setBackColor(ButtonFace);
    setForeColor(0);
}

void check::readProperties(const PropertyBag &bag)
{
    setValue(bag.read(u"Value", qint32(0)));
    setCaption(bag.read(u"Caption", displayName()));
    setEnabled(bag.read(u"Enabled", true));
    setFont(bag.read(u"Font", ambientFont()));
    // Colour values are stored as signed 32-bit integers, system colours negative.
    setBackColor(quint32(bag.read(u"BackColor", qint32(ButtonFace))));
    setForeColor(quint32(bag.read(u"ForeColor", qint32(0))));
}

void check::writeProperties(PropertyBag &bag) const
{
    bag.write(QStringLiteral("Font"), font(), ambientFont());
    bag.write(QStringLiteral("Value"), m_Value, qint32(0));
    bag.write(QStringLiteral("Caption"), m_caption, displayName());
    bag.write(QStringLiteral("Enabled"), isEnabledSelf(), true);
    bag.write(QStringLiteral("BackColor"), qint32(m_BackColor), qint32(ButtonFace));
    bag.write(QStringLiteral("ForeColor"), qint32(m_ForeColor), qint32(0));
}

void check::changeEvent(QEvent *event)
{
    HostedControl::changeEvent(event);
    // Enabled and font follow the widget, whoever changed them (a parent, a QWidget pointer).
    if (event->type() == QEvent::EnabledChange) {
        ShowGlyph();
        applyCaptionColor();
        notifyChanged(QStringLiteral("Enabled"));
    } else if (event->type() == QEvent::FontChange) {
        LayoutCheck();
        notifyChanged(QStringLiteral("Font"));
    }
}

void check::ShowGlyph()
{
    if (!isEnabled()) {
        ShowDisabledGlyph();
        return;
    }
    showLook(CheckGlyphs::Normal);
}

void check::ShowDisabledGlyph()
{
    showLook(CheckGlyphs::Disabled);
}

void check::showLook(CheckGlyphs::Look look)
{
    // A value without a glyph leaves whatever picture is showing.
    if (const auto index = CheckGlyphs::index(m_Value, look)) {
        m_glyph = *index;
        update();
    }
}

void check::LayoutCheck()
{
    const QSize caption = QFontMetrics(font()).size(Qt::TextSingleLine, m_caption);
    m_layout = CheckGeometry::arrange(pixelsToTwips(height()), pixelsToTwips(caption.height()));
    update();
}

void check::applyCaptionColor()
{
    m_captionColor = isEnabled() ? colorFromValue(m_ForeColor) : DisabledCaption;
    update();
}

QRect check::glyphRect() const
{
    const int size = twipsToPixels(CheckGeometry::GlyphSize);
    return {0, twipsToPixels(m_layout.glyphTop), size, size};
}

QRect check::captionRect() const
{
    const QSize size = QFontMetrics(font()).size(Qt::TextSingleLine, m_caption);
    return {QPoint(twipsToPixels(CheckGeometry::CaptionLeft), twipsToPixels(m_layout.captionTop)),
            size};
}

void check::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    CheckPainter::paint(painter,
                        {size(), colorFromValue(m_BackColor), CheckGlyphs::picture(m_glyph),
                         glyphRect().topLeft(), m_caption, font(), m_captionColor, captionRect()});
}

QPointF check::partPosition(CheckGeometry::Part part, QPoint pixel, bool moving) const
{
    QPoint origin;
    switch (part) {
    case CheckGeometry::Part::Control:
        break;
    case CheckGeometry::Part::Glyph:
        origin = glyphRect().topLeft();
        break;
    case CheckGeometry::Part::Caption:
        // Movement over the caption always reports the caption's corner within the control.
        if (moving)
            return {double(CheckGeometry::CaptionLeft), double(m_layout.captionTop)};
        origin = captionRect().topLeft();
        break;
    }
    const QPoint local = pixel - origin;
    return {double(pixelsToTwips(local.x())), double(pixelsToTwips(local.y()))};
}

void check::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    m_capture = CheckGeometry::partAt(at, glyphRect(), captionRect());
    const QPointF p = partPosition(m_capture, at, false);
    onMouseDown(mouseButtons(event->button()), shiftState(event->modifiers()), float(p.x()),
                float(p.y()));
}

void check::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    // A held button keeps the movement with the part it went down on.
    const auto part = event->buttons() != Qt::NoButton
                          ? m_capture
                          : CheckGeometry::partAt(at, glyphRect(), captionRect());
    const QPointF p = partPosition(part, at, true);
    onMouseMove(mouseButtons(event->buttons()), shiftState(event->modifiers()), float(p.x()),
                float(p.y()));
}

void check::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    const QPointF p = partPosition(m_capture, at, false);
    qint16 Button = mouseButtons(event->button());
    qint16 Shift = shiftState(event->modifiers());
    float X = float(p.x());
    float Y = float(p.y());
    Q_EMIT MouseUp(Button, Shift, X, Y);
    // A click needs the left button to come up over the part it went down on.
    const QRect part = m_capture == CheckGeometry::Part::Glyph     ? glyphRect()
                       : m_capture == CheckGeometry::Part::Caption ? captionRect()
                                                                   : rect();
    if (event->button() == Qt::LeftButton && part.contains(at))
        onClick();
}

void check::keyPressEvent(QKeyEvent *event)
{
    qint16 KeyCode = virtualKeyCode(event->key());
    qint16 Shift = shiftState(event->modifiers());
    Q_EMIT KeyDown(KeyCode, Shift);
    for (const QChar c : event->text()) {
        auto KeyAscii = static_cast<qint16>(c.unicode());
        Q_EMIT KeyPress(KeyAscii);
    }
}

void check::keyReleaseEvent(QKeyEvent *event)
{
    if (event->isAutoRepeat())
        return; // a held key repeats its KeyDown only
    qint16 KeyCode = virtualKeyCode(event->key());
    qint16 Shift = shiftState(event->modifiers());
    Q_EMIT KeyUp(KeyCode, Shift);
}

void check::onClick()
{
    Q_EMIT Click();
    switch (Value()) {
    case 1:
    case 2:
        setValue(0);
        break;
    case 0:
        setValue(1);
        break;
    default:
        break;
    }
    ShowGlyph();
}

void check::onMouseDown(qint16 Button, qint16 Shift, float X, float Y)
{
    if (isEnabled())
        showLook(CheckGlyphs::Pressed);
    Q_EMIT MouseDown(Button, Shift, X, Y);
}

void check::onMouseMove(qint16 Button, qint16 Shift, float X, float Y)
{
    if (!m_Timer1.isActive())
        m_Timer1.start();
    const QSizeF inner(pixelsToTwips(width()), pixelsToTwips(height()));
    if (!CheckGeometry::encloses({X, Y}, inner))
        return;
    Q_EMIT MouseMove(Button, Shift, X, Y);
    if (isEnabled())
        showLook(Button == 1 ? CheckGlyphs::Pressed : CheckGlyphs::Hover);
}

void check::onTimer1()
{
    const QPoint pointer = mapFromGlobal(cursorPos());
    if (CheckGeometry::encloses(pointer, size()))
        return;
    ShowGlyph();
    m_Timer1.stop();
    Q_EMIT MouseOut();
}

} // namespace tolvane
