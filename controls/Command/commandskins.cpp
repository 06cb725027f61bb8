#include "controls/Command/commandskins.h"

#include <QString>

namespace tolvane {

CommandSkins::CommandSkins()
{
    static const std::array<QString, ButtonStateCount> files{
        QStringLiteral(":/controls/command/normal.png"),
        QStringLiteral(":/controls/command/pressed.png"),
        QStringLiteral(":/controls/command/disabled.png"),
        QStringLiteral(":/controls/command/hover.png"),
        QStringLiteral(":/controls/command/focused.png"),
    };
    for (int i = 0; i < ButtonStateCount; ++i)
        m_pictures[i] = Surface(QImage(files[i]));
}

CommandSkins::CommandSkins(const std::array<Surface, ButtonStateCount> &pictures)
    : m_pictures(pictures)
{}

bool CommandSkins::isComplete() const
{
    for (const Surface &picture : m_pictures)
        if (picture.width() != Width || picture.height() != Height)
            return false;
    return true;
}

} // namespace tolvane
