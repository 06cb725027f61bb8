#include "xsession.h"

#include "support/privatedisplay.h"

#include <QEventLoop>
#include <QHash>
#include <QTimer>

namespace tolvane::test {

XSession::XSession() : m_display(startPrivateDisplay(m_server, QStringLiteral("1024x768x24"))) {}

XSession::~XSession()
{
    m_server.terminate();
    m_server.waitForFinished();
}

QProcessEnvironment XSession::environment(const QString &home) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    if (!home.isEmpty()) {
        for (const char *variable : {"HOME", "XDG_STATE_HOME", "XDG_RUNTIME_DIR"})
            env.insert(QString::fromLatin1(variable), home);
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    }
    return env;
}

qulonglong XSession::launch(QProcess &app, const QProcessEnvironment &env, const QString &folder,
                            const QStringList &command) const
{
    app.setProcessEnvironment(env);
    app.setWorkingDirectory(folder);
    app.setProcessChannelMode(QProcess::ForwardedChannels);
    app.start(command.first(), command.mid(1));
    // Start-up waits longest: the sanitized program starts slowly beside a running build.
    return waitForWindow(QStringLiteral("^Tolvane$"), 30);
}

QString XSession::run(const QString &program, const QStringList &arguments) const
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program, arguments);
    if (!process.waitForFinished(20000) || process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

qulonglong XSession::findWindow(const QString &pattern) const
{
    const QString found = run(QStringLiteral("xdotool"),
                              QStringLiteral("search --onlyvisible --name").split(u' ') << pattern);
    return found.section(QLatin1Char('\n'), 0, 0).toULongLong();
}

qulonglong XSession::waitForWindow(const QString &pattern, int seconds) const
{
    qulonglong found = 0;
    waitUntil([&] { return (found = findWindow(pattern)) != 0; }, seconds);
    return found;
}

// The numbers of xdotool's "--shell" output, by name.
static QHash<QString, int> shellValues(const QString &shell)
{
    QHash<QString, int> values;
    for (const QString &line : shell.split(QLatin1Char('\n')))
        values.insert(line.section(QLatin1Char('='), 0, 0),
                      line.section(QLatin1Char('='), 1).toInt());
    return values;
}

QRect XSession::geometry(qulonglong window) const
{
    const auto v = shellValues(xdotool(QStringLiteral("getwindowgeometry --shell %1").arg(window)));
    return {v.value(QStringLiteral("X")), v.value(QStringLiteral("Y")),
            v.value(QStringLiteral("WIDTH")), v.value(QStringLiteral("HEIGHT"))};
}

QImage XSession::screenshot(const QString &path) const
{
    run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path});
    return QImage(path);
}

QImage XSession::waitForChange(const QString &path, QRect area, const QImage &before) const
{
    const QImage was = before.copy(area);
    QImage shot;
    const bool changed = waitUntil([&] {
        shot = screenshot(path);
        return !shot.isNull() && shot.copy(area) != was;
    });
    return changed ? shot : QImage();
}

QString XSession::xdotool(const QString &command) const
{
    return run(QStringLiteral("xdotool"), command.split(QLatin1Char(' ')));
}

QPoint XSession::pointer() const
{
    const auto v = shellValues(xdotool(QStringLiteral("getmouselocation --shell")));
    return {v.value(QStringLiteral("X"), -1), v.value(QStringLiteral("Y"), -1)};
}

void XSession::moveTo(QPoint at) const
{
    xdotool(QStringLiteral("mousemove %1 %2").arg(at.x()).arg(at.y()));
    waitUntil([&] { return pointer() == at; });
}

void XSession::hover(QPoint at) const
{
    moveTo(at);
    moveTo(at + QPoint(1, 0));
}

void XSession::click(QPoint at) const
{
    // The frame lights a button on the move before the click.
    hover(at);
    xdotool(QStringLiteral("click 1"));
}

void XSession::pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace tolvane::test
