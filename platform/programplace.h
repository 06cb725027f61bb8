#pragma once

#include <filesystem>

namespace tolvane {

// Where a file the program ships lies: run from the build tree, the one built there (`built`);
// installed, `installed` taken from the folder above the program's bin folder.
std::filesystem::path shippedFile(const char *built, const char *installed);

} // namespace tolvane
