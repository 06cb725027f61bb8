#pragma once

#include "engine/folderlisting.h"

#include <QListView>

class QStringListModel;

namespace tolvane {

// The file list (lstFiles): the regular files of one folder in natural name order. What it
// shows is exactly the listing that entries() hands out. Raises Click when the user selects
// an entry.
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

    qsizetype count() const { return m_listing.count(); }
    QByteArray entry(qsizetype index) const { return m_listing.raw(index); }
    const QList<QByteArray> &entries() const { return m_listing.rawNames(); }
    const QStringList &displayNames() const { return m_listing.displayNames(); }
    const FolderListing &listing() const { return m_listing; }
    // The selected entry's raw name; empty when nothing is selected.
    QByteArray selectedName() const;

Q_SIGNALS:
    void Click();

private:
    QStringListModel *m_model;
    FolderListing m_listing;
    QByteArray m_path;
};

} // namespace tolvane
