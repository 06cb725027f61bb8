#pragma once

#include "controls/host/hostedcontrol.h"
#include "controls/host/propertybag.h"

#include <QCoreApplication>
#include <QJsonObject>
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

// Saves control, places again from the stored form with every name upper-cased (names match
// without regard to case) and saves that too: returns both saves.
template <typename Control>
std::pair<QJsonObject, QJsonObject> saveAndReload(const Control &control, ControlHost &host,
                                                  Control &again)
{
    PropertyBag saved;
    control.saveProperties(saved);
    const QJsonObject json = saved.toJson();
    QJsonObject upper;
    for (auto it = json.begin(); it != json.end(); ++it)
        upper.insert(it.key().toUpper(), it.value());
    const PropertyBag stored = PropertyBag::fromJson(upper);
    placeInstance(again, host, control.objectName(), &stored);
    PropertyBag resaved;
    again.saveProperties(resaved);
    return {json, resaved.toJson()};
}

} // namespace tolvane
