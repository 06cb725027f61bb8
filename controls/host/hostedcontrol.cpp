#include "controls/host/hostedcontrol.h"

#include "controls/access/controlaccessibility.h"
#include "controls/host/controlhost.h"
#include "controls/host/propertybag.h"
#include "platform/twips.h"

#include <QApplication>
#include <QResizeEvent>

namespace tolvane {

HostedControl::HostedControl(QWidget *parent) : QWidget(parent)
{
    installControlAccessibility();
}

void HostedControl::saveProperties(PropertyBag &bag) const
{
    bag.setExtentPixels(size());
    writeProperties(bag);
}

void HostedControl::resizeNow(QSize pixels)
{
    const QSize old = size();
    resize(pixels);
    if (!testAttribute(Qt::WA_PendingResizeEvent) && size() != old)
        return; // Qt has delivered it already
    setAttribute(Qt::WA_PendingResizeEvent, false);
    QResizeEvent event(size(), old);
    QCoreApplication::sendEvent(this, &event);
}

QRect HostedControl::geometryTwips() const
{
    const QRect g = geometry();
    return {pixelsToTwips(g.x()), pixelsToTwips(g.y()), pixelsToTwips(g.width()),
            pixelsToTwips(g.height())};
}

void HostedControl::setGeometryTwips(const QRect &twips)
{
    const QRect pixels = twipsToPixels(twips);
    move(pixels.topLeft());
    resizeNow(pixels.size());
}

QFont HostedControl::ambientFont() const
{
    return m_host ? m_host->ambientFont() : QApplication::font();
}

QString HostedControl::displayName() const
{
    return m_host ? m_host->displayName(*this) : objectName();
}

void HostedControl::notifyChanged(const QString &property)
{
    if (m_host)
        m_host->propertyChanged(*this, property);
}

void HostedControl::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    resized();
}

void placeInstance(HostedControl &control, ControlHost &host, const QString &name,
                   const PropertyBag *stored)
{
    control.setObjectName(name);
    control.setHost(&host);
    if (stored)
        control.loadProperties(*stored);
    else
        control.newInstance();
    const QSize extent = stored ? stored->extentPixels() : QSize();
    control.resizeNow(extent.isValid() ? extent : control.size());
}

} // namespace tolvane
