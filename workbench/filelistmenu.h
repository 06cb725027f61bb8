#pragma once

#include <QMenu>

namespace tolvane {

class FileListBox;

// The file list's context menu: the order its files are listed and numbered in, and which files
// it lists. A choice re-reads the list at once; the current ones are checked.
class FileListMenu : public QMenu
{
    Q_OBJECT

public:
    explicit FileListMenu(FileListBox *list);

private:
    void addOrders(FileListBox *list);
    void addFilters(FileListBox *list);
};

} // namespace tolvane
