#pragma once

#include "platform/twips.h"
#include "support/privatedisplay.h"
#include "workbench/form2layout.h"

#include <QEventLoop>
#include <QImage>
#include <QRect>
#include <QRegularExpression>
#include <QTimer>

namespace tolvane::test {

// Screen rectangle of a control of the working form in a frame whose corner is at `frame`,
// from the form's own layout table.
inline QRect formControl(QPoint frame, QStringView name)
{
    const Form2Control &control = form2Control(name);
    const QPoint origin = control.container == u"Form2"
                              ? frame + QPoint(21, 38)
                              : formControl(frame, control.container).topLeft();
    return twipsToPixels(control.twips).translated(origin);
}
// The middle of a tab's header. The strip is 20 pixels high and its headers, sized by the
// installed CJK font to their two or three characters, about 60 pixels wide each.
inline QPoint tabHeader(QPoint frame, int index)
{
    return formControl(frame, u"SSTab1").topLeft() + QPoint(30 + 60 * index, 10);
}

// A private X display (Xvfb, no window manager) with the tools to drive programs on it:
// xdotool for the pointer and window queries, ImageMagick's import for screenshots.
class XSession
{
public:
    XSession() : m_display(startPrivateDisplay(m_server, QStringLiteral("1024x768x24"))) {}
    ~XSession() { m_server.terminate(), m_server.waitForFinished(); }

    bool isRunning() const { return !m_display.isEmpty(); }
    // With a home: HOME, XDG_STATE_HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR there, and no
    // session bus.
    QProcessEnvironment environment(const QString &home = {}) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        if (!home.isEmpty()) {
            for (const char *variable :
                 {"HOME", "XDG_STATE_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"})
                env.insert(QString::fromLatin1(variable), home);
            env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
            // Without a bus, Qt 6.8's start-up query to the desktop portal leaks at exit.
            env.insert(QStringLiteral("QT_NO_XDG_DESKTOP_PORTAL"), QStringLiteral("1"));
        }
        return env;
    }
    // Starts `command` in `folder` and waits for the program's window; its id, 0 if none showed.
    qulonglong launch(QProcess &app, const QProcessEnvironment &env, const QString &folder,
                      const QStringList &command) const
    {
        app.setProcessEnvironment(env);
        app.setWorkingDirectory(folder);
        app.setProcessChannelMode(QProcess::ForwardedChannels);
        app.start(command.first(), command.mid(1));
        // Start-up waits longest: the sanitized program starts slowly beside a running build.
        return waitForWindow(QStringLiteral("^Tolvane$"), 30);
    }

    // Runs a tool on the display and returns its standard output ("" on failure).
    QString run(const QString &program, const QStringList &arguments) const
    {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(program, arguments);
        const bool ran = process.waitForFinished(20000) && process.exitCode() == 0;
        return ran ? QString::fromLocal8Bit(process.readAllStandardOutput()) : QString();
    }
    // One xdotool command, words separated by single spaces ("mousedown 1"); its output.
    QString xdotool(const QString &command) const
    {
        return run(QStringLiteral("xdotool"), command.split(QLatin1Char(' ')));
    }
    // Polls `done` until it holds or the time is up (a loaded machine runs the sanitized
    // program slowly); returns whether it held.
    template <typename Condition> static bool waitUntil(Condition done, int seconds = 10)
    {
        for (int i = 0; i < seconds * 20 && !done(); ++i) {
            QEventLoop loop;
            QTimer::singleShot(50, &loop, &QEventLoop::quit);
            loop.exec();
        }
        return done();
    }
    // The first visible window whose name matches the regular expression; 0 if none.
    qulonglong findWindow(const QString &pattern) const
    {
        return xdotool(QStringLiteral("search --onlyvisible --name ") + pattern)
            .section(QLatin1Char('\n'), 0, 0)
            .toULongLong();
    }
    qulonglong waitForWindow(const QString &pattern, int seconds = 10) const
    {
        qulonglong found = 0;
        waitUntil([&] { return (found = findWindow(pattern)) != 0; }, seconds);
        return found;
    }
    QRect geometry(qulonglong window) const
    {
        const QString shell = xdotool(QStringLiteral("getwindowgeometry --shell %1").arg(window));
        return {number(shell, u"X"), number(shell, u"Y"), number(shell, u"WIDTH"),
                number(shell, u"HEIGHT")};
    }
    // Waits until the window's geometry satisfies `wanted`; returns the last geometry seen.
    template <typename Predicate> QRect waitForGeometry(qulonglong window, Predicate wanted) const
    {
        QRect seen;
        waitUntil([&] { return wanted(seen = geometry(window)); });
        return seen;
    }
    QImage screenshot(const QString &path) const
    {
        run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path});
        return QImage(path);
    }
    // Screenshots until `area` looks different from `before`; the first that does, or null.
    QImage waitForChange(const QString &path, QRect area, const QImage &before) const
    {
        QImage shot;
        const bool changed = waitUntil([&] {
            shot = screenshot(path);
            return !shot.isNull() && shot.copy(area) != before.copy(area);
        });
        return changed ? shot : QImage();
    }

    // Moves the pointer and waits until the server has it there.
    void moveTo(QPoint at) const
    {
        xdotool(QStringLiteral("mousemove %1 %2").arg(at.x()).arg(at.y()));
        waitUntil([&] {
            const QString shell = xdotool(QStringLiteral("getmouselocation --shell"));
            return QPoint(number(shell, u"X"), number(shell, u"Y")) == at;
        });
    }
    // Two small moves onto a point: the first lights a caption button, the second shows it.
    void hover(QPoint at) const { moveTo(at), moveTo(at + QPoint(1, 0)); }
    void click(QPoint at) const { hover(at), xdotool(QStringLiteral("click 1")); }

private:
    // A number of xdotool's "--shell" output, by name; 0 if missing.
    static int number(const QString &shell, QStringView name)
    {
        const QRegularExpression line(QStringLiteral("^%1=(-?\\d+)$").arg(name),
                                      QRegularExpression::MultilineOption);
        return line.match(shell).captured(1).toInt();
    }

    QProcess m_server;
    QString m_display;
};

} // namespace tolvane::test
