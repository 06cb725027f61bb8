#pragma once

#include <QProcess>
#include <QString>

namespace tolvane::test {

// Starts a private Xvfb (no window manager) on a free display and returns its name (":N"),
// or "" when there is no Xvfb. The server lives as long as `server`.
inline QString startPrivateDisplay(QProcess &server, const QString &screen)
{
    // -displayfd picks a free display and writes its number to standard output. Without
    // -noreset the server resets whenever its last client leaves, and a program started
    // meanwhile cannot connect.
    server.start(QStringLiteral("Xvfb"),
                 {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                  QStringLiteral("0"), screen, QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                  QStringLiteral("-noreset")});
    if (!server.waitForStarted())
        return {};
    QByteArray number;
    while (!number.contains('\n') && server.waitForReadyRead(10000))
        number += server.readAllStandardOutput();
    number = number.trimmed();
    return number.isEmpty() ? QString() : QLatin1Char(':') + QString::fromLatin1(number);
}

} // namespace tolvane::test
