#include "platform/programplace.h"

namespace tolvane {

std::filesystem::path shippedFile(const char *built, const char *installed)
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && program.native().starts_with(TOLVANE_BUILD_DIR "/"))
        return built;
    return program.parent_path().parent_path() / installed;
}

} // namespace tolvane
