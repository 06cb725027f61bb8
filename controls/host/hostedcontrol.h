#pragma once

#include <QWidget>

namespace tolvane {

class ControlHost;
class PropertyBag;

// Base of the custom controls. The host drives each instance through one lifecycle:
// constructed (parts take their design values), then newInstance() or loadProperties(),
// resizes at any time, saveProperties() whenever the form is stored, destroyed.
// placeInstance() runs the first steps in that order from a form's stored entry.
class HostedControl : public QWidget
{
    Q_OBJECT

public:
    explicit HostedControl(QWidget *parent = nullptr);

    // Must come before newInstance() or loadProperties(); without a host the control uses
    // the application font, its object name, and notifies nobody.
    void setHost(ControlHost *host) { m_host = host; }

    void newInstance() { initProperties(); }
    void loadProperties(const PropertyBag &bag) { readProperties(bag); }
    // Writes the host's extent entries, then the control's own.
    void saveProperties(PropertyBag &bag) const;

    // Resizes and delivers the resize at once, also while the control is hidden (Qt would
    // hold it back until the first show), so that layouts hold before the form is shown. A
    // resize to the current size still runs the layout once.
    void resizeNow(QSize pixels);
    QRect geometryTwips() const;
    // The control's own enabled flag, the one saved. isEnabled() is also false while the form
    // is disabled: the look follows that, the stored property does not.
    bool isEnabledSelf() const { return !testAttribute(Qt::WA_ForceDisabled); }
    void setGeometryTwips(const QRect &twips);

protected:
    virtual void initProperties() = 0;
    virtual void readProperties(const PropertyBag &bag) = 0;
    virtual void writeProperties(PropertyBag &bag) const = 0;
    // Runs on every resize, after Qt has applied it.
    virtual void resized() {}

    QFont ambientFont() const;
    QString displayName() const;
    // Tells the host that the property named so has been set.
    void notifyChanged(const QString &property);

    void resizeEvent(QResizeEvent *event) override;

private:
    ControlHost *m_host = nullptr;
};

// Names the control, attaches it to host, then loads it from stored (or makes it a new
// instance when stored is null) and sizes it to the stored extent, or to its own size.
void placeInstance(HostedControl &control, ControlHost &host, const QString &name,
                   const PropertyBag *stored);

// Constructs a Control on parent and places it.
template <typename Control>
Control *createInstance(QWidget *parent, ControlHost &host, const QString &name,
                        const PropertyBag *stored)
{
    auto *control = new Control(parent);
    placeInstance(*control, host, name, stored);
    return control;
}

} // namespace tolvane
