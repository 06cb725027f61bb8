#include "controls/host/storedform.h"

#include "controls/host/namedindex.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace tolvane {

std::optional<StoredForm> StoredForm::fromJson(const QByteArray &json, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (document.isNull())
        return fail(parseError.errorString());
    if (!document.isObject())
        return fail(QStringLiteral("stored form data is not a JSON object"));

    StoredForm form;
    const QJsonObject root = document.object();
    for (auto it = root.begin(); it != root.end(); ++it) {
        if (!it.value().isObject())
            return fail(QStringLiteral("entry \"%1\" is not an object").arg(it.key()));
        form.entry(it.key()) = PropertyBag::fromJson(it.value().toObject());
    }
    return form;
}

QByteArray StoredForm::toJson() const
{
    QJsonObject root;
    for (const auto &[name, bag] : m_instances)
        root.insert(name, bag.toJson());
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

const PropertyBag *StoredForm::find(QStringView instance) const
{
    const qsizetype i = indexOfName(m_instances, instance);
    return i < 0 ? nullptr : &m_instances.at(i).second;
}

PropertyBag &StoredForm::entry(const QString &instance)
{
    qsizetype i = indexOfName(m_instances, instance);
    if (i < 0) {
        m_instances.append({instance, PropertyBag()});
        i = m_instances.size() - 1;
    }
    return m_instances[i].second;
}

QStringList StoredForm::instances() const
{
    QStringList result;
    for (const auto &entry : m_instances)
        result.append(entry.first);
    return result;
}

} // namespace tolvane
