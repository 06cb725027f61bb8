#include "workbench/foldertreemenu.h"

#include "engine/conversion/simplifyrename.h"
#include "platform/messageboxes.h"
#include "workbench/batchdriver.h"
#include "workbench/folderlistbox.h"

#include <QMenu>

namespace tolvane {

FolderTreeMenu::FolderTreeMenu(FolderListBox &folders, BatchDriver &driver, MessageBoxes &messages,
                               ResultList &results, Hooks hooks)
    : QObject(&folders), m_folders(folders), m_driver(driver), m_messages(messages),
      m_results(results), m_hooks(std::move(hooks))
{
    folders.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&folders, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        const QListWidgetItem *item = m_folders.itemAt(at);
        const QByteArray folder = item ? FolderListBox::pathOf(*item) : m_folders.path();
        QMenu menu(&m_folders);
        menu.addAction(QStringLiteral("转换此文件夹及其子文件夹的名称…"), this,
                       [this, folder] { convertTree(folder); });
        menu.exec(m_folders.viewport()->mapToGlobal(at));
    });
}

void FolderTreeMenu::convertTree(const QByteArray &folder)
{
    if (m_driver.busy())
        return;
    const ConversionProfile profile = m_hooks.profile();
    if (const QString text = conversionRefusal(profile); !text.isEmpty()) {
        m_messages.failure(text);
        return;
    }
    std::shared_ptr<TreeJob> tree = makeTreeConversion(folder, profile);
    BatchDriver::Work count;
    count.run = [tree] { tree->prepare(); };
    count.progress = [] { return std::pair<qsizetype, qsizetype>{0, 0}; };
    count.cancel = [tree] { tree->cancel(); };
    count.then = [this, tree, profile, folder] {
        if (!confirmTreeConversion(*tree, m_messages))
            return;
        BatchDriver::Work moves;
        moves.run = [tree] { tree->execute(); };
        moves.progress = [tree] { return std::pair{tree->done(), tree->total()}; };
        moves.cancel = [tree] { tree->cancel(); };
        moves.then = [this, tree, profile, folder] {
            finishTreeConversion(*tree, profile, m_results, m_messages);
            m_hooks.refresh(folder);
        };
        m_driver.start(std::move(moves));
    };
    m_driver.start(std::move(count));
}

} // namespace tolvane
