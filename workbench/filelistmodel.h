#pragma once

#include "engine/listing/folderlisting.h"

#include <QAbstractListModel>

namespace tolvane {

// The rows of the file list straight over a folder listing: no item a row, display text made
// only for the rows the view asks about.
class FileListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    const FolderListing &listing() const { return m_listing; }
    void setListing(const FolderListing &listing);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    FolderListing m_listing;
};

} // namespace tolvane
