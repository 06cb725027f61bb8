#pragma once

#include <QFont>
#include <QString>

namespace tolvane {

class HostedControl;

// What a hosted control may ask of the form that holds it. Every call comes on the
// user-interface thread.
class ControlHost
{
public:
    virtual ~ControlHost() = default;

    // The hosting form's font, the default for a control's own font.
    virtual QFont ambientFont() const = 0;
    // The instance's name on the form ("Command1"), the default caption of a new instance.
    virtual QString displayName(const HostedControl &control) const = 0;
    // A property setter ran; the host only marks its stored data as changed.
    virtual void propertyChanged(HostedControl &control, const QString &property) = 0;
};

} // namespace tolvane
