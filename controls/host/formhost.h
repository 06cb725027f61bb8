#pragma once

#include "controls/host/controlhost.h"

#include <QObject>

namespace tolvane {

// The host a form gives its controls: its own font as the ambient font, each instance's
// object name as its display name, and a changed mark for the stored data.
class FormHost : public QObject, public ControlHost
{
    Q_OBJECT

public:
    explicit FormHost(QObject *parent = nullptr);

    void setAmbientFont(const QFont &font) { m_ambientFont = font; }
    QFont ambientFont() const override { return m_ambientFont; }
    QString displayName(const HostedControl &control) const override;
    void propertyChanged(HostedControl &control, const QString &property) override;

    bool isChanged() const { return m_changed; }
    void clearChanged() { m_changed = false; }

Q_SIGNALS:
    void changed(const QString &instance, const QString &property);

private:
    QFont m_ambientFont;
    bool m_changed = false;
};

} // namespace tolvane
