#include "platform/colorvalue.h"

#include <QGuiApplication>
#include <QPalette>

namespace tolvane {

namespace {

QPalette::ColorRole systemColorRole(int index)
{
    switch (index) {
    case 4: // menu
    case 5: // window
        return QPalette::Base;
    case 13: // highlight
        return QPalette::Highlight;
    case 14: // highlight text
        return QPalette::HighlightedText;
    case 15: // button face
        return QPalette::Button;
    case 16: // button shadow
        return QPalette::Mid;
    case 18: // button text
        return QPalette::ButtonText;
    case 20: // button highlight
        return QPalette::Light;
    case 23: // tooltip text
        return QPalette::ToolTipText;
    case 24: // tooltip background
        return QPalette::ToolTipBase;
    default: // window text and everything without a closer match
        return QPalette::WindowText;
    }
}

} // namespace

QColor colorFromValue(quint32 value)
{
    if (value & 0x80000000u) {
        const QPalette palette = QGuiApplication::palette();
        if ((value & 0xFF) == 17) // grey text
            return palette.color(QPalette::Disabled, QPalette::WindowText);
        return palette.color(QPalette::Active, systemColorRole(int(value & 0xFF)));
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace tolvane
