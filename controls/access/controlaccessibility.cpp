#include "controls/access/controlaccessibility.h"

#include "controls/Command/command.h"
#include "controls/access/checkaccessible.h"
#include "controls/access/commandaccessible.h"
#include "controls/access/textaccessible.h"
#include "controls/check/check.h"
#include "controls/text/text.h"

namespace tolvane {

namespace {

QAccessibleInterface *controlInterface(const QString &, QObject *object)
{
    if (auto *button = qobject_cast<Command *>(object))
        return new CommandAccessible(button);
    if (auto *box = qobject_cast<check *>(object))
        return new CheckAccessible(box);
    if (auto *field = qobject_cast<text *>(object))
        return new TextAccessible(field);
    return nullptr;
}

} // namespace

void installControlAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(controlInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace tolvane
