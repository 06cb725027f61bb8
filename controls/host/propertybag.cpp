#include "controls/host/propertybag.h"

#include "controls/host/namedindex.h"
#include "controls/host/storedvalue.h"

#include <QtMath>

namespace tolvane {

namespace {

const QString ExtentX = QStringLiteral("_extentx");
const QString ExtentY = QStringLiteral("_extenty");

// 2540 hundredths of a millimetre to the inch, 96 pixels to the inch.
int pixelsToHimetric(int pixels)
{
    return qRound(pixels * 2540.0 / 96.0);
}

int himetricToPixels(int himetric)
{
    return qRound(himetric * 96.0 / 2540.0);
}

} // namespace

QVariant PropertyBag::read(QStringView name, const QVariant &defaultValue) const
{
    const qsizetype i = indexOfName(m_entries, name);
    return i < 0 ? defaultValue : storedAs(m_entries.at(i).second, defaultValue);
}

void PropertyBag::write(const QString &name, const QVariant &value, const QVariant &defaultValue)
{
    const qsizetype i = indexOfName(m_entries, name);
    // Compared in stored form, so that 1 and 1.0, or two equal fonts, count as the same.
    if (defaultValue.isValid() && storedToJson(value) == storedToJson(defaultValue)) {
        if (i >= 0)
            m_entries.removeAt(i);
        return;
    }
    if (i >= 0)
        m_entries[i].second = value;
    else
        m_entries.append({name, value});
}

bool PropertyBag::contains(QStringView name) const
{
    return indexOfName(m_entries, name) >= 0;
}

QStringList PropertyBag::names() const
{
    QStringList result;
    for (const auto &entry : m_entries)
        result.append(entry.first);
    return result;
}

QSize PropertyBag::extentPixels() const
{
    if (!contains(ExtentX) || !contains(ExtentY))
        return {};
    return {himetricToPixels(read(ExtentX, 0)), himetricToPixels(read(ExtentY, 0))};
}

void PropertyBag::setExtentPixels(QSize pixels)
{
    write(ExtentX, QVariant(pixelsToHimetric(pixels.width())), QVariant());
    write(ExtentY, QVariant(pixelsToHimetric(pixels.height())), QVariant());
}

QJsonObject PropertyBag::toJson() const
{
    QJsonObject object;
    for (const auto &[name, value] : m_entries)
        object.insert(name, storedToJson(value));
    return object;
}

PropertyBag PropertyBag::fromJson(const QJsonObject &object)
{
    PropertyBag bag;
    for (auto it = object.begin(); it != object.end(); ++it)
        bag.write(it.key(), it.value().toVariant(), QVariant());
    return bag;
}

} // namespace tolvane
