#pragma once

#include "controls/host/propertybag.h"

#include <QByteArray>
#include <QStringList>
#include <optional>

namespace tolvane {

// A form's stored instance data: one property bag per instance name (names match without
// regard to case). Kept as a JSON object {"text1": {...}, "Command1": {...}, ...}.
class StoredForm
{
public:
    // Nothing when json is not an object of objects; error then says why.
    static std::optional<StoredForm> fromJson(const QByteArray &json, QString *error = nullptr);
    QByteArray toJson() const;

    // The stored entries of an instance, or null when the instance has none.
    const PropertyBag *find(QStringView instance) const;
    // The entries of an instance, made empty on first use.
    PropertyBag &entry(const QString &instance);
    QStringList instances() const;

private:
    QList<std::pair<QString, PropertyBag>> m_instances;
};

} // namespace tolvane
