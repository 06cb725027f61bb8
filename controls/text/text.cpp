#include "controls/text/text.h"

#include "controls/host/propertybag.h"
#include "controls/text/keypresslineedit.h"
#include "controls/text/outlineshape.h"
#include "controls/text/textlayout.h"
#include "platform/generalnumber.h"
#include "platform/leadingnumber.h"
#include "platform/twips.h"

#include <QAccessible>
#include <QScopedValueRollback>

namespace tolvane {

namespace {

const QColor EnabledFrame(127, 157, 185);  // 0xB99D7F
const QColor DisabledFrame(192, 192, 192); // 0xC0C0C0

QFont designFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    font.setWeight(QFont::Normal);
    return font;
}

void paintWhite(QWidget &widget)
{
    QPalette white = widget.palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    widget.setPalette(white);
}

} // namespace

text::text(QWidget *parent)
    : HostedControl(parent), m_TxtSpin(new KeyPressLineEdit(this)),
      m_ShapeBorder(new OutlineShape(this))
{
    paintWhite(*this);
    setAutoFillBackground(true);
    setFont(designFont());

    m_TxtSpin->setObjectName(QStringLiteral("TxtSpin"));
    m_TxtSpin->setFrame(false);
    m_TxtSpin->setFont(designFont());
    m_TxtSpin->setText(QStringLiteral("0"));
    m_TxtSpin->setGeometry(twipsToPixels(QRect(75, 60, 720, 210)));
    setFocusProxy(m_TxtSpin);
    setFocusPolicy(m_TxtSpin->focusPolicy());

    m_ShapeBorder->setObjectName(QStringLiteral("ShapeBorder"));
    m_ShapeBorder->setColor(EnabledFrame);
    m_ShapeBorder->setGeometry(twipsToPixels(QRect(0, 0, 1125, 330)));
    m_TxtSpin->installEventFilter(this);

    connect(m_TxtSpin, &QLineEdit::textChanged, this, &text::Change);
    connect(m_TxtSpin, &KeyPressLineEdit::KeyPress, this, &text::KeyPress, Qt::DirectConnection);
}

bool text::Locked() const
{
    return m_TxtSpin->isReadOnly();
}

void text::setLocked(bool New_Locked)
{
    m_TxtSpin->setReadOnly(New_Locked);
    notifyChanged(QStringLiteral("Locked"));
}

QString text::Text() const
{
    return m_TxtSpin->text();
}

void text::setText(const QString &New_Text)
{
    m_TxtSpin->setText(New_Text);
    notifyChanged(QStringLiteral("Text"));
}

void text::setLargeChange(double New_LargeChange)
{
    m_LargeChange = New_LargeChange;
    notifyChanged(QStringLiteral("LargeChange"));
}

double text::Value() const
{
    return leadingNumber(m_TxtSpin->text());
}

void text::setValue(double New_Value)
{
    m_TxtSpin->setText(generalNumber(New_Value));
    notifyChanged(QStringLiteral("Value"));
}

void text::initProperties()
{
    paintWhite(*this);
    m_Decimal = 0;
    m_LargeChange = 1;
    m_Value = 0;
}

void text::readProperties(const PropertyBag &bag)
{
    // A stored disabled state only locks the window: the field keeps its enabled look and the
    // frame its colour, so that read-only previews stay legible.
    const bool enabled = bag.read(u"Enabled", true);
    setEnabled(enabled);
    m_keepEnabledLook = !enabled;
    showEnabledLook();
    m_TxtSpin->setReadOnly(bag.read(u"Locked", false));
    m_TxtSpin->setText(bag.read(u"Text", QStringLiteral("Text1")));
    m_Decimal = bag.read(u"Decimal", qint16(0));
    m_LargeChange = bag.read(u"LargeChange", 1.0);
    m_Value = bag.read(u"Value", 0.0);
    setFont(bag.read(u"Font", ambientFont()));
    LayoutControls();
}

void text::writeProperties(PropertyBag &bag) const
{
    bag.write(QStringLiteral("Enabled"), isEnabledSelf(), true);
    bag.write(QStringLiteral("Locked"), m_TxtSpin->isReadOnly(), false);
    bag.write(QStringLiteral("Text"), m_TxtSpin->text(), QStringLiteral("Text1"));
    bag.write(QStringLiteral("Decimal"), m_Decimal, qint16(0));
    bag.write(QStringLiteral("LargeChange"), m_LargeChange, 1.0);
    bag.write(QStringLiteral("Value"), m_Value, 0.0);
    bag.write(QStringLiteral("Font"), font(), ambientFont());
}

void text::LayoutControls()
{
    if (m_layingOut)
        return; // the resize below comes back here; this pass places everything
    const QScopedValueRollback guard(m_layingOut, true);
    const TextLayout layout =
        TextLayout::arrange(pixelsToTwips(width()), m_TxtSpin->font().pointSizeF());
    resizeNow({twipsToPixels(layout.width), twipsToPixels(layout.height)});
    m_ShapeBorder->setGeometry(twipsToPixels(QRect(0, 0, layout.width, layout.height)));
    m_TxtSpin->setGeometry(
        twipsToPixels(QRect(layout.spinLeft, layout.spinTop, layout.spinWidth, layout.spinHeight)));
}

void text::changeEvent(QEvent *event)
{
    HostedControl::changeEvent(event);
    // Enabled and font follow the widget, whoever changed them (a parent, a QWidget pointer).
    if (event->type() == QEvent::EnabledChange) {
        if (isEnabledSelf())
            m_keepEnabledLook = false;
        showEnabledLook();
        notifyChanged(QStringLiteral("Enabled"));
    } else if (event->type() == QEvent::FontChange) {
        m_TxtSpin->setFont(font());
        notifyChanged(QStringLiteral("Font"));
        LayoutControls();
    }
}

bool text::eventFilter(QObject *watched, QEvent *event)
{
    // A reader announces the focused widget, which is the inner field: it carries the name the
    // control has from its label.
    if (watched == m_TxtSpin && event->type() == QEvent::FocusIn && QAccessible::isActive()) {
        const QAccessibleInterface *self = QAccessible::queryAccessibleInterface(this);
        const QString name = self ? self->text(QAccessible::Name) : QString();
        if (m_TxtSpin->accessibleName() != name)
            m_TxtSpin->setAccessibleName(name);
    }
    return HostedControl::eventFilter(watched, event);
}

void text::showEnabledLook()
{
    m_ShapeBorder->setColor(isEnabled() || m_keepEnabledLook ? EnabledFrame : DisabledFrame);
    if (!m_keepEnabledLook) {
        m_TxtSpin->setPalette(QPalette());
        return;
    }
    QPalette look = m_TxtSpin->palette();
    for (const auto role : {QPalette::Text, QPalette::Base, QPalette::Window})
        look.setColor(QPalette::Disabled, role, look.color(QPalette::Active, role));
    m_TxtSpin->setPalette(look);
}

} // namespace tolvane
