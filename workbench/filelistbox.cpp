#include "workbench/filelistbox.h"

#include "workbench/filelistmenu.h"

#include <QContextMenuEvent>

namespace tolvane {

FileListBox::FileListBox(QWidget *parent)
    : QListView(parent), m_model(new FileListModel(this)), m_taken(new TakenReading(*this))
{
    // Uniform rows keep a folder of 100,000 files as cheap to show as to list.
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setModel(m_model);
    // Focus alone makes a row current without selecting it: only a selection is a click.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected) {
                if (!selected.isEmpty())
                    Q_EMIT Click();
            });
}

void FileListBox::setPath(const QByteArray &path)
{
    m_path = path;
    refresh();
}

void FileListBox::refresh()
{
    if (m_order.key != ListOrder::Key::Taken) {
        m_taken->stop();
        m_model->setListing(
            FolderListing::read(m_path, FolderListing::Kind::Files, m_order, m_filter));
        m_shown = m_path;
        return;
    }
    // Another folder's files must not stay listed while this one's dates are read.
    if (m_shown != m_path) {
        m_model->setListing(FolderListing::read(m_path, FolderListing::Kind::Files, {}, m_filter));
        m_shown = m_path;
    }
    m_taken->start(
        m_path, m_order, m_filter,
        [this](const FolderListing &listing) { m_model->setListing(listing); },
        [this] { setArrangement(m_beforeTaken, m_filter); });
}

bool FileListBox::arranging() const
{
    return m_taken->running();
}

void FileListBox::setArrangement(const ListOrder &order, const TypeFilter &filter)
{
    if (order.key == ListOrder::Key::Taken && m_order.key != ListOrder::Key::Taken)
        m_beforeTaken = m_order;
    m_order = order;
    m_filter = filter;
    // Without a folder yet there is nothing to read; an empty path would read the working folder.
    if (!m_path.isEmpty())
        refresh();
    Q_EMIT Arranged();
}

void FileListBox::contextMenuEvent(QContextMenuEvent *event)
{
    FileListMenu menu(this);
    menu.exec(event->globalPos());
}

QStringList FileListBox::displayNames() const
{
    QStringList names;
    names.reserve(m_model->rowCount());
    for (int row = 0; row < m_model->rowCount(); ++row)
        names.append(m_model->index(row).data().toString());
    return names;
}

QByteArray FileListBox::selectedName() const
{
    const QModelIndexList selected = selectionModel()->selectedRows();
    if (selected.isEmpty())
        return {};
    return listing().raw(selected.first().row());
}

} // namespace tolvane
