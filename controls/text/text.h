#pragma once

#include "controls/host/hostedcontrol.h"

namespace tolvane {

class KeyPressLineEdit;
class OutlineShape;

// The framed single-line text field of the forms: a borderless edit field `TxtSpin` inside a
// one-pixel frame `ShapeBorder` on white. Focus given to the control goes to `TxtSpin`.
//
// Properties (each setter notifies the host by the property's name, also when the value is
// unchanged): Enabled()/setEnabled(), hWnd(), Locked()/setLocked(), the text as
// Text()/setText() (a member cannot share the class's name), LargeChange()/setLargeChange(),
// Value()/setValue(), Font()/setFont(). setEnabled() and setFont() hide QWidget's: call them
// through a `text`. Qt fonts are values, so a font changed after Font() takes effect only when
// given back through setFont().
class text : public HostedControl
{
    Q_OBJECT

public:
    explicit text(QWidget *parent = nullptr);

    bool Enabled() const { return isEnabledSelf(); }
    void setEnabled(bool New_Enabled);
    // The control's own window, not the edit field's; asking makes the control a native window.
    WId hWnd() { return winId(); }
    bool Locked() const;
    void setLocked(bool New_Locked);
    QString Text() const;
    void setText(const QString &New_Text);
    double LargeChange() const { return m_LargeChange; }
    void setLargeChange(double New_LargeChange);
    // The number the text starts with; written back with "." as the decimal point whatever
    // the locale, so that the written text reads back as the same number.
    double Value() const;
    void setValue(double New_Value);
    QFont Font() const;
    void setFont(const QFont &New_Font);

Q_SIGNALS:
    void Change();
    // Connect directly: the code the handler leaves is what the field processes, 0 drops it.
    void KeyPress(qint16 &KeyAscii);

protected:
    void initProperties() override;
    void readProperties(const PropertyBag &bag) override;
    void writeProperties(PropertyBag &bag) const override;
    void resized() override { LayoutControls(); }

private:
    void LayoutControls();
    void keepEnabledLook(bool keep);

    KeyPressLineEdit *m_TxtSpin;
    OutlineShape *m_ShapeBorder;
    qint16 m_Decimal = 0;
    double m_LargeChange = 1;
    double m_Value = 0;
    bool m_layingOut = false;
};

} // namespace tolvane
