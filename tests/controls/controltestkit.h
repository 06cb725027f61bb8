#pragma once

#include "controls/host/hostedcontrol.h"

#include <QCoreApplication>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QStringList>
#include <QWidget>

namespace tolvane {

// The events a control raises, in order, each as "Name(arg,...)".
class EventLog : public QStringList
{
public:
    template <typename Sender, typename... Events> void record(Sender *sender, Events... events)
    {
        (recordOne(sender, events), ...);
    }

private:
    template <typename Sender, typename... Args>
    void recordOne(Sender *sender, void (Sender::*signal)(Args...))
    {
        const QString name = QString::fromLatin1(QMetaMethod::fromSignal(signal).name());
        QObject::connect(sender, signal, sender, [this, name](Args... args) {
            const QStringList values{QString::number(args)...};
            append(values.isEmpty() ? name : name + QStringLiteral("(%1)").arg(values.join(u',')));
        });
    }
};

inline void sendMouse(QWidget *target, QEvent::Type type, QPointF at, Qt::MouseButton button,
                      Qt::MouseButtons held, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, at, target->mapToGlobal(at), button, held, modifiers);
    QCoreApplication::sendEvent(target, &event);
}

} // namespace tolvane
