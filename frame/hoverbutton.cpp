#include "frame/hoverbutton.h"

#include "frame/framehittest.h"

namespace tolvane {

namespace {

qint16 buttonOf(qint16 hitCode)
{
    switch (hitCode) {
    case MinimiseHit:
        return HoverButton::Minimise;
    case MaximiseHit:
        return HoverButton::Maximise;
    case CloseHit:
        return HoverButton::Close;
    default:
        return HoverButton::None;
    }
}

} // namespace

HoverButton::Step HoverButton::hitTest(qint16 hitCode)
{
    const bool wasLit = m_value != None;
    m_value = buttonOf(hitCode);
    if (wasLit && m_value != None)
        return {HitClient, false};
    return {hitCode, wasLit};
}

} // namespace tolvane
