#pragma once

#include <QString>

namespace tolvane {

// The entry point `symbol` of a module the program ships (found as shippedFile finds it),
// loaded with its libraries kept to itself; null when it cannot be, with the loader's reason in
// `why`. Modules are never unloaded, so what they hand out stays valid for the whole run.
void *shippedModuleEntry(const char *built, const char *installed, const char *symbol,
                         QString &why);

} // namespace tolvane
