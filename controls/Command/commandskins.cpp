#include "controls/Command/commandskins.h"

#include "platform/pngreader.h"

#include <QString>

namespace tolvane {

namespace {

// Every button shows the same pictures: they are decoded once, and the buttons share the
// images (a surface copies its image only when written to).
const std::array<Surface, ButtonStateCount> &decodedPictures()
{
    static const std::array<Surface, ButtonStateCount> pictures = [] {
        const std::array<QString, ButtonStateCount> files{
            QStringLiteral(":/controls/command/normal.png"),
            QStringLiteral(":/controls/command/pressed.png"),
            QStringLiteral(":/controls/command/disabled.png"),
            QStringLiteral(":/controls/command/hover.png"),
            QStringLiteral(":/controls/command/focused.png"),
        };
        std::array<Surface, ButtonStateCount> decoded;
        for (int i = 0; i < ButtonStateCount; ++i)
            decoded[i] = Surface(readPng(files[i]));
        return decoded;
    }();
    return pictures;
}

} // namespace

CommandSkins::CommandSkins() : m_pictures(decodedPictures()) {}

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
