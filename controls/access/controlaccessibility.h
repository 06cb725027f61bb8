#pragma once

namespace tolvane {

// Makes readers see the custom controls as the standard controls they stand for. The first
// control made installs it; later calls do nothing.
void installControlAccessibility();

} // namespace tolvane
