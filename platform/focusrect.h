#pragma once

namespace tolvane {

class Surface;

// Stand-in for DrawFocusRect: a one-pixel dotted outline of the rectangle from (left, top) to
// (right, bottom), right and bottom exclusive. Every other pixel of the outline is inverted (a
// checkerboard fixed to the surface origin), so drawing the same rectangle twice removes it.
// Each outline pixel is inverted once, also where edges meet or the rectangle is one pixel thin.
void drawFocusRect(Surface &surface, int left, int top, int right, int bottom);

} // namespace tolvane
