#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace tolvane::test {

// Points the program's state folder (its journals) and its settings at a temporary folder of the
// test's own for as long as this lives (on a memory file system its many journals cost no
// flushes).
class StateHome
{
public:
    explicit StateHome(const QString &parent = QDir::tempPath())
        : m_dir(parent + QStringLiteral("/tolvane-state-XXXXXX"))
    {
        qputenv("XDG_STATE_HOME", QFile::encodeName(m_dir.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path() + QStringLiteral("/config")));
    }
    ~StateHome()
    {
        qunsetenv("XDG_STATE_HOME");
        qunsetenv("XDG_CONFIG_HOME");
    }

private:
    QTemporaryDir m_dir;
};

} // namespace tolvane::test
