#include "platform/shippedmodule.h"

#include "platform/programplace.h"

#include <dlfcn.h>

namespace tolvane {

void *shippedModuleEntry(const char *built, const char *installed, const char *symbol, QString &why)
{
    const std::filesystem::path path = shippedFile(built, installed);
    void *module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    void *entry = module ? ::dlsym(module, symbol) : nullptr;
    if (!entry)
        why = QString::fromLocal8Bit(::dlerror());
    return entry;
}

} // namespace tolvane
