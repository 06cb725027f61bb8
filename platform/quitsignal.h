#pragma once

namespace tolvane::QuitSignal {

// Makes SIGTERM, SIGINT and SIGHUP ask the program to quit instead of ending it at once: a
// batch then stops between two files, never with one at its temporary name, and its journal
// holds what was done. The handler only records the signal and wakes descriptor().
void install();
// The first quit signal received, 0 while there was none.
int received();
// Becomes readable when a quit signal arrives, for an event loop to notice; -1 before install().
int descriptor();
// Once the program has stopped: ends it as the signal received would have, so that a shell
// or service manager sees how it ended. Returns at once when no signal came.
void endIfReceived();

} // namespace tolvane::QuitSignal
