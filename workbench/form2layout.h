#pragma once

#include <QRect>
#include <QStringView>
#include <array>

namespace tolvane {

// The working form's layout, read by the form, its tests and the end-to-end test alike.
struct Form2Control
{
    enum class Kind {
        DriveList,
        FolderList,
        FileList,
        List,
        Tabs,
        Page,
        Group,
        Label,
        Button,
        Box,
        Choice
    };

    QStringView name;
    Kind kind;
    // "Form2", "SSTab1" (on page `page`, placed from the tab control's own corner) or "Frame1".
    QStringView container;
    int page;
    QRect twips;
    // Place in the focus order; -1 for what never takes the focus.
    int tabIndex;
    // What the form shows on labels, pages and Frame1; the stored data captions the rest.
    QStringView caption;
};

// Containers come before what they hold.
inline constexpr auto Form2Layout = [] {
    using enum Form2Control::Kind;
    return std::array<Form2Control, 24>{{
        {u"Drivestation", DriveList, u"Form2", 0, {80, 0, 3255, 300}, 0, {}},
        {u"lstMap", FolderList, u"Form2", 0, {80, 360, 3255, 2400}, 1, {}},
        {u"lstFiles", FileList, u"Form2", 0, {80, 2880, 3255, 3630}, 2, {}},
        {u"List1", List, u"Form2", 0, {3360, 2880, 3855, 3630}, 3, {}},
        {u"SSTab1", Tabs, u"Form2", 0, {3360, 0, 3855, 2775}, 4, {}},
        {{}, Page, u"SSTab1", 0, {}, -1, u"重命名"},
        {{}, Page, u"SSTab1", 1, {}, -1, u"繁转简"},
        {u"Frame1", Group, u"SSTab1", 0, {120, 360, 3615, 2350}, 5, u"设置文件名格式"},
        {u"Label1", Label, u"Frame1", 0, {120, 300, 1455, 375}, -1, u"添加#为序列号："},
        {u"Command3", Button, u"Frame1", 0, {1560, 240, 255, 255}, 6, {}},
        {u"text1", Box, u"Frame1", 0, {120, 600, 3375, 330}, 11, {}},
        {u"Label2", Label, u"Frame1", 0, {120, 1080, 1335, 255}, -1, u"序列号起始号："},
        {u"text2", Box, u"Frame1", 0, {1560, 1030, 1935, 330}, 10, {}},
        {u"Label3", Label, u"Frame1", 0, {120, 1530, 1335, 375}, -1, u"新文件名："},
        {u"text3", Box, u"Frame1", 0, {1560, 1440, 1935, 330}, 9, {}},
        {u"Command1", Button, u"Frame1", 0, {600, 1860, 1215, 375}, 8, {}},
        {u"Command2", Button, u"Frame1", 0, {2160, 1860, 1095, 375}, 7, {}},
        {u"Label4", Label, u"SSTab1", 1, {120, 480, 1815, 255}, -1, u"繁体文件名："},
        {u"cboProfile", Choice, u"SSTab1", 1, {1200, 400, 2535, 300}, 12, {}},
        {u"text4", Box, u"SSTab1", 1, {120, 720, 3615, 330}, 13, {}},
        {u"Label5", Label, u"SSTab1", 1, {120, 1320, 1695, 255}, -1, u"简体文件名："},
        {u"text5", Box, u"SSTab1", 1, {120, 1560, 3615, 330}, 14, {}},
        {u"Command4", Button, u"SSTab1", 1, {360, 2040, 1215, 495}, 15, {}},
        {u"Command5", Button, u"SSTab1", 1, {2040, 2040, 1335, 495}, 16, {}},
    }};
}();

// The entry of a named control; the form's first entry for a name it does not have.
inline const Form2Control &form2Control(QStringView name)
{
    for (const Form2Control &control : Form2Layout) {
        if (control.name == name)
            return control;
    }
    return Form2Layout.front();
}

} // namespace tolvane
