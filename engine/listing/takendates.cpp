#include "engine/listing/takendates.h"

#include <algorithm>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>

namespace tolvane {

TakenDates::Stamp TakenDates::stamp(int folderFd, QByteArrayView name)
{
    ++m_done;
    const QByteArray path = name.toByteArray();
    struct stat st;
    if (::fstatat(folderFd, path.constData(), &st, 0) != 0)
        return {};
    const qint64 modified = qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    auto known = m_known.find(st.st_ino);
    if (known == m_known.end() || known->size != st.st_size || known->modified != modified)
        known = m_known.insert(st.st_ino, {st.st_size, modified, m_reader(folderFd, path)});
    if (!known->taken)
        return {modified, false};
    // Nanoseconds end in 2262; a camera's clock may say anything.
    constexpr qint64 limit = std::numeric_limits<qint64>::max() / 1'000'000'000;
    return {std::clamp(*known->taken, -limit, limit) * 1'000'000'000, true};
}

void TakenDates::begin(qsizetype total)
{
    m_total = total;
    m_done = 0;
}

} // namespace tolvane
