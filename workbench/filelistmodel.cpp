#include "workbench/filelistmodel.h"

namespace tolvane {

void FileListModel::setListing(const FolderListing &listing)
{
    beginResetModel();
    m_listing = listing;
    endResetModel();
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_listing.count());
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::ToolTipRole && m_listing.undated(index.row()))
        return QStringLiteral("无拍摄日期，按修改日期");
    // Type-ahead search asks for the display role; the edit role answers alike.
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    return m_listing.display(index.row());
}

} // namespace tolvane
