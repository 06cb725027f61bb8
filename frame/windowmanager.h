#pragma once

class QWindow;

namespace tolvane {

// Whether something manages top-level windows (maximises them, moves them on request).
// A bare X server, as under Xvfb, has nothing that would; the frame then does it itself.
bool windowManagerPresent();

// Whether an X11 window manager has put the window against two opposite edges of its area
// without maximising it (a maximise in one direction, as GNOME's and Xfce's tiling do): the
// window then fills the place it was given. Wayland's tiled states are not told to programs by
// Qt; there, and where nothing says so, the window is taken as floating.
bool windowTiled(const QWindow *window);

} // namespace tolvane
