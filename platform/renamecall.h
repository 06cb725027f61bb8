#pragma once

namespace tolvane {

// The rename call FileMover makes (renameat2's signature). Tests swap it to act out file
// systems that refuse RENAME_NOREPLACE; returns the call it replaced.
using RenameCall = int (*)(int, const char *, int, const char *, unsigned int);
RenameCall setRenameCall(RenameCall call);

} // namespace tolvane
