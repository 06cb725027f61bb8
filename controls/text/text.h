#pragma once

#include "controls/host/hostedcontrol.h"

namespace tolvane {

class KeyPressLineEdit;
class OutlineShape;

// The framed single-line text field of the forms: a borderless edit field `TxtSpin` inside a
// one-pixel frame `ShapeBorder` on white. Focus given to the control goes to `TxtSpin`.
//
// Properties (each setter notifies the host by the property's name, also when the value is
// unchanged): hWnd(), Locked()/setLocked(), the text as Text()/setText() (a member cannot share
// the class's name), LargeChange()/setLargeChange(), Value()/setValue(). Enabled() and Font()
// are QWidget's own setEnabled()/setFont(), noticed as they change, also when the change comes
// from a parent. Qt fonts are values, so a font changed after Font() takes effect only when
// given back through setFont(). A QLabel whose buddy is the control names it for readers.
class text : public HostedControl
{
    Q_OBJECT

public:
    explicit text(QWidget *parent = nullptr);

    bool Enabled() const { return isEnabledSelf(); }
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
    QFont Font() const { return font(); }

Q_SIGNALS:
    void Change();
    // Connect directly: the code the handler leaves is what the field processes, 0 drops it.
    void KeyPress(qint16 &KeyAscii);

protected:
    void initProperties() override;
    void readProperties(const PropertyBag &bag) override;
    void writeProperties(PropertyBag &bag) const override;
    void resized() override { LayoutControls(); }
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void LayoutControls();
    void showEnabledLook();

    KeyPressLineEdit *m_TxtSpin;
    OutlineShape *m_ShapeBorder;
    qint16 m_Decimal = 0;
    double m_LargeChange = 1;
    double m_Value = 0;
    bool m_layingOut = false;
    // Loaded disabled: shown with the enabled look until the control itself is enabled.
    bool m_keepEnabledLook = false;
};

} // namespace tolvane
