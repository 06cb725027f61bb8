#pragma once

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QStringList>

namespace tolvane::test {

// A private X display (Xvfb, no window manager) with the tools to drive programs on it:
// xdotool for the pointer and window queries, ImageMagick's import for screenshots.
class XSession
{
public:
    XSession();
    ~XSession();

    bool isRunning() const { return !m_display.isEmpty(); }
    // With a home: HOME, XDG_STATE_HOME and XDG_RUNTIME_DIR there, and no session bus.
    QProcessEnvironment environment(const QString &home = {}) const;
    // Starts `command` in `folder` and waits for the program's window; its id, 0 if none showed.
    qulonglong launch(QProcess &app, const QProcessEnvironment &env, const QString &folder,
                      const QStringList &command) const;

    // Runs a tool on the display and returns its standard output ("" on failure).
    QString run(const QString &program, const QStringList &arguments) const;
    // Polls `done` until it holds or the time is up (a loaded machine runs the sanitized
    // program slowly); returns whether it held.
    template <typename Condition> static bool waitUntil(Condition done, int seconds = 10)
    {
        for (int i = 0; i < seconds * 20; ++i) {
            if (done())
                return true;
            pause(50);
        }
        return done();
    }
    // The first visible window whose name matches the regular expression; 0 if none.
    qulonglong findWindow(const QString &pattern) const;
    qulonglong waitForWindow(const QString &pattern, int seconds = 10) const;
    QRect geometry(qulonglong window) const;
    // Waits until the window's geometry satisfies `wanted`; returns the last geometry seen.
    template <typename Predicate> QRect waitForGeometry(qulonglong window, Predicate wanted) const
    {
        QRect seen;
        waitUntil([&] { return wanted(seen = geometry(window)); });
        return seen;
    }
    QImage screenshot(const QString &path) const;
    // Screenshots until `area` looks different from `before`; the first that does, or null.
    QImage waitForChange(const QString &path, QRect area, const QImage &before) const;

    // One xdotool command, words separated by single spaces ("mousedown 1"); its output.
    QString xdotool(const QString &command) const;
    QPoint pointer() const;
    // Moves the pointer and waits until the server has it there.
    void moveTo(QPoint at) const;
    // Two small moves onto a point: the first lights a caption button, the second shows it.
    void hover(QPoint at) const;
    void click(QPoint at) const;

    static void pause(int ms);

private:
    QProcess m_server;
    QString m_display;
};

} // namespace tolvane::test
