#pragma once

#include "engine/listing/folderlisting.h"
#include "workbench/filelistmodel.h"
#include "workbench/takenreading.h"

#include <QListView>

namespace tolvane {

// The file list (lstFiles): the regular files of one folder in the chosen order (natural name
// order unless the context menu chose another), only those the filter lists. What it shows is
// exactly the listing that entries() hands out, so batches number and convert just those, in
// that order. The taken order is read in the background; until it is shown, arranging() holds
// batches back. Raises Click when the user selects an entry.
class FileListBox : public QListView
{
    Q_OBJECT

public:
    explicit FileListBox(QWidget *parent = nullptr);

    QByteArray path() const { return m_path; }
    // Points the list at a folder and reads it.
    void setPath(const QByteArray &path);
    // Reads the current folder again.
    void refresh();
    // Sets the order and the filter and reads the folder again with them; raises Arranged.
    void setArrangement(const ListOrder &order, const TypeFilter &filter);
    const ListOrder &order() const { return m_order; }
    const TypeFilter &filter() const { return m_filter; }
    // The list is being read in a new order it does not show yet.
    bool arranging() const;

    qsizetype count() const { return listing().count(); }
    QByteArray entry(qsizetype index) const { return listing().raw(index); }
    // All entries in list order, made on each call.
    QList<QByteArray> entries() const { return listing().rawNames(); }
    // The rows' texts as the list shows them.
    QStringList displayNames() const;
    const FolderListing &listing() const { return m_model->listing(); }
    // The selected entry's raw name; empty when nothing is selected.
    QByteArray selectedName() const;

Q_SIGNALS:
    void Click();
    void Arranged();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    FileListModel *m_model;
    TakenReading *m_taken;
    QByteArray m_path;
    // The folder the list shows the files of.
    QByteArray m_shown;
    ListOrder m_order;
    // What a cancelled taken order leaves the list in.
    ListOrder m_beforeTaken;
    TypeFilter m_filter;
};

} // namespace tolvane
