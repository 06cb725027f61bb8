#pragma once

#include <sys/stat.h>

namespace tolvane {

// The system calls FileMover makes. Tests swap them to act out file systems that refuse the
// no-replace flag or hard links, and failures no file system gives on demand.
struct FileCalls
{
    int (*renameat2)(int, const char *, int, const char *, unsigned int);
    int (*renameat)(int, const char *, int, const char *);
    int (*linkat)(int, const char *, int, const char *, int);
    int (*unlinkat)(int, const char *, int);
    int (*fstatat)(int, const char *, struct stat *, int);
};

FileCalls systemFileCalls();

// Every FileMover from now on makes `calls`. The ways remembered per file system were learnt
// through the calls replaced, so they are forgotten. Returns the calls replaced.
FileCalls setFileCalls(const FileCalls &calls);

} // namespace tolvane
