#pragma once

#include "engine/conversion/conversionprofile.h"

#include <QByteArray>
#include <QObject>
#include <functional>

namespace tolvane {

class BatchDriver;
class FolderListBox;
class MessageBoxes;
class ResultList;

// The folder list's context menu: "转换此文件夹及其子文件夹的名称…" converts the names of the
// folder under the pointer and of everything below it, as one batch. The names are counted off
// the user-interface thread, a box asks, and the batch runs with the batches' progress and cancel.
class FolderTreeMenu : public QObject
{
    Q_OBJECT

public:
    struct Hooks
    {
        std::function<ConversionProfile()> profile;
        // After the tree ran: the lists show the names as they are now.
        std::function<void(const QByteArray &folder)> refresh;
    };
    FolderTreeMenu(FolderListBox &folders, BatchDriver &driver, MessageBoxes &messages,
                   ResultList &results, Hooks hooks);

    // The menu entry's work on one folder.
    void convertTree(const QByteArray &folder);

private:
    FolderListBox &m_folders;
    BatchDriver &m_driver;
    MessageBoxes &m_messages;
    ResultList &m_results;
    Hooks m_hooks;
};

} // namespace tolvane
