#pragma once

#include <QByteArray>

namespace tolvane {

// What the program was asked to do, read from the raw arguments before any Qt application
// object exists: a command-line run must neither need nor open a display.
struct LaunchRequest
{
    enum Mode { Window, CommandLine };
    Mode mode = Window;
    // The folder the window starts on, as the argument's own bytes; empty for the current one.
    QByteArray folder;
};

// The window takes at most one folder and no option; anything else is for the command line,
// which also reports the arguments it does not know. "--" ends the options, for folders named "-…".
LaunchRequest readLaunchRequest(int argc, const char *const *argv);

} // namespace tolvane
