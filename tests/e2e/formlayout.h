#pragma once

#include <QPoint>
#include <QRect>

namespace tolvane::test {

// A control's place on the working form in twips, relative to its container.
struct Twips
{
    int left;
    int top;
    int width;
    int height;
};

// The working form's controls as the form lays them out.
namespace form2 {
inline constexpr Twips lstMap{80, 360, 3255, 2400};
inline constexpr Twips lstFiles{80, 2880, 3255, 3630};
inline constexpr Twips List1{3360, 2880, 3855, 3630};
inline constexpr Twips SSTab1{3360, 0, 3855, 2775};
// On tab 0.
inline constexpr Twips Frame1{120, 360, 3615, 2350};
// On Frame1.
inline constexpr Twips text1{120, 600, 3375, 330};
inline constexpr Twips text2{1560, 1030, 1935, 330};
inline constexpr Twips Command1{600, 1860, 1215, 375};
inline constexpr Twips Command2{2160, 1860, 1095, 375};
// On tab 1.
inline constexpr Twips Command4{360, 2040, 1215, 495};
} // namespace form2

// Screen rectangles of the working form's controls inside a frame at a given screen position.
// Controls on a tab page are placed from the tab control's own top-left corner, tab strip
// included; controls in Frame1 from Frame1's corner.
class FormLayout
{
public:
    explicit FormLayout(QPoint frameOrigin) : m_form(frameOrigin + QPoint(21, 38)) {}

    QRect onForm(Twips t) const { return pixels(t).translated(m_form); }
    QRect onTab(Twips t) const { return pixels(t).translated(onForm(form2::SSTab1).topLeft()); }
    QRect onFrame1(Twips t) const { return pixels(t).translated(onTab(form2::Frame1).topLeft()); }
    // The middle of a tab's header. The strip is 20 pixels high and its headers, sized by the
    // installed CJK font to their two or three characters, about 60 pixels wide each.
    QPoint tabHeader(int index) const
    {
        return onForm(form2::SSTab1).topLeft() + QPoint(30 + 60 * index, 10);
    }

private:
    // 15 twips to a pixel, rounded to the nearest.
    static constexpr int pixels(int twips) { return (twips + 7) / 15; }
    static constexpr QRect pixels(Twips t)
    {
        return {pixels(t.left), pixels(t.top), pixels(t.width), pixels(t.height)};
    }

    QPoint m_form;
};

} // namespace tolvane::test
