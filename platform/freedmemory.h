#pragma once

namespace tolvane {

// Hands the memory the program has freed back to the system, where the C library would keep it
// for later allocations. Costs a walk of the heap: for moments after much has been freed.
void returnFreedMemory();

} // namespace tolvane
