#include "controls/host/formhost.h"

#include "controls/host/hostedcontrol.h"

namespace tolvane {

FormHost::FormHost(QObject *parent) : QObject(parent) {}

QString FormHost::displayName(const HostedControl &control) const
{
    return control.objectName();
}

void FormHost::propertyChanged(HostedControl &control, const QString &property)
{
    m_changed = true;
    Q_EMIT changed(control.objectName(), property);
}

} // namespace tolvane
