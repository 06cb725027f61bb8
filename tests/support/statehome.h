#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

namespace tolvane::test {

// Points the program's state folder (its journals) at a temporary folder of the test's own
// for as long as this lives.
class StateHome
{
public:
    StateHome() { qputenv("XDG_STATE_HOME", path()); }
    ~StateHome() { qunsetenv("XDG_STATE_HOME"); }
    QByteArray path() const { return QFile::encodeName(m_dir.path()); }

private:
    QTemporaryDir m_dir;
};

} // namespace tolvane::test
