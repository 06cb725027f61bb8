#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

namespace tolvane::test {

// Starts a private Xvfb (no window manager) on a free display and returns its name (":N"),
// or "" when there is no Xvfb. The server lives as long as `server`.
inline QString startPrivateDisplay(QProcess &server, const QString &screen)
{
    // -displayfd picks a free display and writes its number to standard output. Without
    // -noreset the server resets whenever its last client leaves, and a program started
    // meanwhile cannot connect.
    const QString options = QStringLiteral("-displayfd 1 -screen 0 %1 -nolisten tcp -noreset");
    server.start(QStringLiteral("Xvfb"), options.arg(screen).split(QLatin1Char(' ')));
    QByteArray number; // none when Xvfb did not start
    while (!number.contains('\n') && server.waitForReadyRead(10000))
        number += server.readAllStandardOutput();
    number = number.trimmed();
    return number.isEmpty() ? QString() : QLatin1Char(':') + QString::fromLatin1(number);
}

// This process's environment for programs started on a private display in `server`; where
// there is no Xvfb they draw offscreen, unless a platform is already chosen.
inline QProcessEnvironment privateDisplayEnvironment(QProcess &server)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString display = startPrivateDisplay(server, QStringLiteral("1280x800x24"));
    if (!display.isEmpty()) {
        env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    } else if (!env.contains(QStringLiteral("QT_QPA_PLATFORM"))) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    return env;
}

} // namespace tolvane::test
