#pragma once

#include <QtGlobal>
#include <limits>
#include <sys/stat.h>

namespace tolvane {

// A time in nanoseconds since the epoch, held at what 64 bits can count: 1678 to 2262. Clocks
// of cameras and of damaged file systems say anything, and an overflow would order such a file
// anywhere.
inline qint64 nanoseconds(qint64 seconds, long nanos = 0)
{
    constexpr qint64 limit = std::numeric_limits<qint64>::max() / 1'000'000'000;
    if (seconds >= limit)
        return std::numeric_limits<qint64>::max();
    if (seconds <= -limit)
        return std::numeric_limits<qint64>::min();
    return seconds * 1'000'000'000 + nanos;
}

inline qint64 modifiedNanoseconds(const struct stat &st)
{
    return nanoseconds(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
}

} // namespace tolvane
