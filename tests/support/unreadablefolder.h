#pragma once

#include <QByteArray>
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace tolvane::test {

// Makes a folder unreadable for this process while it lives: by its permission bits, which
// stop root too once it has put down the capabilities that override them.
class UnreadableFolder
{
public:
    explicit UnreadableFolder(const QByteArray &path) : m_path(path)
    {
        ::chmod(m_path.constData(), 0);
        ::syscall(SYS_capget, &m_header, m_saved);
        __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        ::syscall(SYS_capset, &m_header, lowered);
    }
    ~UnreadableFolder()
    {
        ::syscall(SYS_capset, &m_header, m_saved);
        ::chmod(m_path.constData(), 0755);
    }

private:
    QByteArray m_path;
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
};

} // namespace tolvane::test
