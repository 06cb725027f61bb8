#pragma once

#include <QJsonObject>
#include <QList>
#include <QSize>
#include <QString>
#include <QVariant>
#include <utility>

namespace tolvane {

// The stored properties of one control instance. Names match without regard to case. Values
// are bool, qint16, qint32, double, QString, QFont or QImage (a picture; null for none).
// Entries keep the order in which they were first written.
class PropertyBag
{
public:
    // The stored value as the type of defaultValue, or defaultValue when the name is absent
    // or its value does not fit that type.
    QVariant read(QStringView name, const QVariant &defaultValue) const;
    template <typename T> T read(QStringView name, const T &defaultValue) const
    {
        return read(name, QVariant::fromValue(defaultValue)).template value<T>();
    }

    // Stores value; a value equal to its default is left out (and drops an older entry), so
    // that stored data only holds what differs from a fresh instance.
    void write(const QString &name, const QVariant &value, const QVariant &defaultValue);
    template <typename T> void write(const QString &name, const T &value, const T &defaultValue)
    {
        write(name, QVariant::fromValue(value), QVariant::fromValue(defaultValue));
    }

    bool contains(QStringView name) const;
    QStringList names() const;
    bool isEmpty() const { return m_entries.isEmpty(); }

    // The host's own "_extentx"/"_extenty" entries: the instance size in hundredths of a
    // millimetre at 96 dpi. An empty size when they are absent.
    QSize extentPixels() const;
    void setExtentPixels(QSize pixels);

    QJsonObject toJson() const;
    static PropertyBag fromJson(const QJsonObject &object);

private:
    QList<std::pair<QString, QVariant>> m_entries;
};

} // namespace tolvane
