#pragma once

#include <QByteArrayList>

namespace tolvane {

// The program without its window, for scripts: --rename, --simplify and --undo on the same
// files, in the same order, as the window lists them; a preview unless --apply is given.
// Takes the arguments after the program's name as their own bytes and returns the exit status.
int runCommandLine(const QByteArrayList &arguments);

} // namespace tolvane
