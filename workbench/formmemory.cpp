#include "workbench/formmemory.h"

#include <QSettings>
#include <QStandardPaths>

namespace tolvane {
namespace {

QString settingsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/tolvane/tolvane.conf");
}

// The command line's word for an order, which the file keeps so that it reads as --sort does.
QByteArray keyWord(ListOrder::Key key)
{
    for (const char *word : {"name", "modified", "size", "type", "taken"})
        if (ListOrder::keyNamed(word) == key)
            return word;
    return "name";
}

} // namespace

FormMemory FormMemory::load()
{
    const QSettings settings(settingsPath(), QSettings::IniFormat);
    FormMemory memory;
    memory.profile =
        profileFromKey(settings.value("conversion/profile").toString()).value_or(memory.profile);
    memory.order.key =
        ListOrder::keyNamed(settings.value("files/order").toByteArray()).value_or(memory.order.key);
    memory.order.reversed = settings.value("files/reversed", false).toBool();
    memory.filter = TypeFilter::fromPatterns(settings.value("files/filter").toString());
    return memory;
}

void FormMemory::save() const
{
    QSettings settings(settingsPath(), QSettings::IniFormat);
    settings.setValue("conversion/profile", profileKey(profile));
    settings.setValue("files/order", keyWord(order.key));
    settings.setValue("files/reversed", order.reversed);
    settings.setValue("files/filter", filter.patterns());
}

} // namespace tolvane
