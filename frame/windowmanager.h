#pragma once

namespace tolvane {

// Whether something manages top-level windows (maximises them, moves them on request).
// A bare X server, as under Xvfb, has nothing that would; the frame then does it itself.
bool windowManagerPresent();

} // namespace tolvane
