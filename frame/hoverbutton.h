#pragma once

#include <QtGlobal>

namespace tolvane {

// The caption-button hover state, driven by the frame's hit test. While a button is lit the
// frame answers "client" over the buttons, so presses and releases reach its own handlers.
class HoverButton
{
public:
    enum Button : qint16 { None = 0, Minimise = 1, Maximise = 2, Close = 3 };

    struct Step
    {
        qint16 answer;   // the hit code to act on
        bool repaintNow; // the highlight has just gone
    };

    // Feeds one hit-test result through the machine.
    Step hitTest(qint16 hitCode);
    // The mouse-up actions clear the highlight before they change the window state.
    void clear() { m_value = None; }

    qint16 value() const { return m_value; }

private:
    qint16 m_value = None;
};

} // namespace tolvane
