#pragma once

#include <QByteArray>
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
        m_saved = capabilities();
        auto dropped = m_saved;
        dropped.data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        set(dropped);
    }
    ~UnreadableFolder()
    {
        set(m_saved);
        ::chmod(m_path.constData(), 0755);
    }
    UnreadableFolder(const UnreadableFolder &) = delete;
    UnreadableFolder &operator=(const UnreadableFolder &) = delete;

private:
    struct Capabilities
    {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    };
    static Capabilities capabilities()
    {
        Capabilities c;
        ::syscall(SYS_capget, &c.header, c.data);
        return c;
    }
    static void set(Capabilities c) { ::syscall(SYS_capset, &c.header, c.data); }

    QByteArray m_path;
    Capabilities m_saved;
};

} // namespace tolvane::test
