#include "xsession.h"

#include "support/privatedisplay.h"

#include <QEventLoop>
#include <QTimer>

namespace tolvane::test {

XSession::XSession() : m_display(startPrivateDisplay(m_server, QStringLiteral("1024x768x24"))) {}

XSession::~XSession()
{
    m_server.terminate();
    m_server.waitForFinished();
}

QProcessEnvironment XSession::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
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

qulonglong XSession::focusedWindow() const
{
    return run(QStringLiteral("xdotool"), {QStringLiteral("getwindowfocus")})
        .trimmed()
        .toULongLong();
}

QRect XSession::geometry(qulonglong window) const
{
    const QString shell =
        run(QStringLiteral("xdotool"),
            QStringLiteral("getwindowgeometry --shell %1").arg(window).split(u' '));
    QRect r;
    for (const QString &line : shell.split(QLatin1Char('\n'))) {
        const int value = line.section(QLatin1Char('='), 1).toInt();
        if (line.startsWith(QLatin1String("X=")))
            r.moveLeft(value);
        else if (line.startsWith(QLatin1String("Y=")))
            r.moveTop(value);
        else if (line.startsWith(QLatin1String("WIDTH=")))
            r.setWidth(value);
        else if (line.startsWith(QLatin1String("HEIGHT=")))
            r.setHeight(value);
    }
    return r;
}

QString XSession::windowName(qulonglong window) const
{
    return run(QStringLiteral("xdotool"),
               {QStringLiteral("getwindowname"), QString::number(window)})
        .section(QLatin1Char('\n'), 0, 0);
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
    waitUntil([&] {
        shot = screenshot(path);
        return !shot.isNull() && shot.copy(area) != was;
    });
    return shot;
}

void XSession::xdotool(const QString &command) const
{
    run(QStringLiteral("xdotool"), command.split(QLatin1Char(' ')));
}

QPoint XSession::pointer() const
{
    const QString shell =
        run(QStringLiteral("xdotool"), QStringLiteral("getmouselocation --shell").split(u' '));
    QPoint at(-1, -1);
    for (const QString &line : shell.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("X=")))
            at.setX(line.mid(2).toInt());
        else if (line.startsWith(QLatin1String("Y=")))
            at.setY(line.mid(2).toInt());
    }
    return at;
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
