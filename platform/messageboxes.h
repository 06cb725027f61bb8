#pragma once

#include <QString>

namespace tolvane {

// The few message boxes the program shows. The engine talks to this interface so that it can
// run without a display; the application hands in the Qt-backed implementation.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;

    // OK only, no icon, titled with the application's title ("Tolvane").
    virtual void notice(const QString &text) = 0;
    // A failure the user must know about: warning icon, OK, application title.
    virtual void failure(const QString &text) = 0;
    // A fatal start-up error: error icon, OK, application title.
    virtual void fatal(const QString &text) = 0;
    // Yes and No, Yes the default, no icon; true when the answer is Yes.
    virtual bool askYesNo(const QString &title, const QString &text) = 0;
};

} // namespace tolvane
