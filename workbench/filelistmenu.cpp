#include "workbench/filelistmenu.h"

#include "workbench/filelistbox.h"

#include <QActionGroup>
#include <QInputDialog>
#include <utility>

namespace tolvane {

FileListMenu::FileListMenu(FileListBox *list) : QMenu(list)
{
    addOrders(list);
    addSeparator();
    addFilters(list);
}

void FileListMenu::addOrders(FileListBox *list)
{
    using Key = ListOrder::Key;
    const std::pair<QString, Key> keys[] = {{QStringLiteral("名称"), Key::Name},
                                            {QStringLiteral("拍摄日期"), Key::Taken},
                                            {QStringLiteral("修改日期"), Key::Modified},
                                            {QStringLiteral("大小"), Key::Size},
                                            {QStringLiteral("类型"), Key::Type}};
    auto *group = new QActionGroup(this);
    for (const auto &[text, key] : keys) {
        QAction *action = addAction(text, list, [list, key] {
            list->setArrangement({key, list->order().reversed}, list->filter());
        });
        action->setCheckable(true);
        action->setChecked(list->order().key == key);
        group->addAction(action);
    }
    QAction *reversed = addAction(QStringLiteral("倒序"), list, [list] {
        list->setArrangement({list->order().key, !list->order().reversed}, list->filter());
    });
    reversed->setCheckable(true);
    reversed->setChecked(list->order().reversed);
}

void FileListMenu::addFilters(FileListBox *list)
{
    using Preset = TypeFilter::Preset;
    const std::pair<QString, Preset> presets[] = {{QStringLiteral("全部文件"), Preset::All},
                                                  {QStringLiteral("图片"), Preset::Pictures},
                                                  {QStringLiteral("视频"), Preset::Videos},
                                                  {QStringLiteral("音乐"), Preset::Music},
                                                  {QStringLiteral("文档"), Preset::Documents}};
    auto *group = new QActionGroup(this);
    bool presetChosen = false;
    for (const auto &[text, preset] : presets) {
        const TypeFilter filter = TypeFilter::preset(preset);
        QAction *action =
            addAction(text, list, [list, filter] { list->setArrangement(list->order(), filter); });
        action->setCheckable(true);
        action->setChecked(list->filter().patterns() == filter.patterns());
        presetChosen = presetChosen || action->isChecked();
        group->addAction(action);
    }
    QAction *typed = addAction(QStringLiteral("按文件名模式…"), list, [list] {
        bool ok = false;
        const QString patterns = QInputDialog::getText(
            list, QStringLiteral("按文件名模式"),
            QStringLiteral("只列出名字符合模式的文件，多个模式用“;”分隔，如 *.mp4;*.mkv："),
            QLineEdit::Normal, list->filter().patterns(), &ok);
        if (ok)
            list->setArrangement(list->order(), TypeFilter::fromPatterns(patterns));
    });
    typed->setCheckable(true);
    typed->setChecked(!presetChosen);
    group->addAction(typed);
}

} // namespace tolvane
