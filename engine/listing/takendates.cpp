#include "engine/listing/takendates.h"

#include "platform/filetime.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace tolvane {

TakenDates::Stamp TakenDates::stamp(int folderFd, QByteArrayView name)
{
    ++m_done;
    const QByteArray path = name.toByteArray();
    struct stat st;
    if (::fstatat(folderFd, path.constData(), &st, 0) != 0)
        return {};
    const qint64 modified = modifiedNanoseconds(st);
    auto known = m_known.find(st.st_ino);
    if (known == m_known.end() || known->size != st.st_size || known->modified != modified)
        known = m_known.insert(st.st_ino, {st.st_size, modified, m_reader(folderFd, path)});
    if (!known->taken)
        return {modified, false};
    return {nanoseconds(*known->taken), true};
}

void TakenDates::begin(qsizetype total)
{
    m_total = total;
    m_done = 0;
}

} // namespace tolvane
