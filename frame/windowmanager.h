#pragma once

class QWindow;

namespace tolvane {

// Whether something manages top-level windows (maximises them, moves them on request).
// A bare X server, as under Xvfb, has nothing that would; the frame then does it itself.
bool windowManagerPresent();

// Whether the window manager has put the window in a tile without maximising it: the window
// then fills the place it was given. X11 window managers say so with a maximise in one
// direction (GNOME's and Xfce's halves); Wayland compositors with xdg-shell's tiled states.
// Where nothing says so, the window is taken as floating.
bool windowTiled(const QWindow *window);
// Whether the Qt running here keeps Wayland's tiled states (once its Wayland platform is loaded).
bool waylandTellsTiled();

} // namespace tolvane
