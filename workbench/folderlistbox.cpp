#include "workbench/folderlistbox.h"

#include "engine/listing/folderlisting.h"
#include "engine/listing/foldertree.h"

#include <QKeyEvent>
#include <QStyle>
#include <cerrno>

namespace tolvane {
namespace {

constexpr int PathRole = Qt::UserRole;

QByteArray normalised(QByteArray path)
{
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}

} // namespace

FolderListBox::FolderListBox(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { setPath(pathOf(*item)); });
}

bool FolderListBox::setDrive(const QByteArray &root, const QByteArray &folder)
{
    // A drive that cannot be opened leaves the list on the old one, so it keeps the old root.
    const QByteArray previousRoot = m_root;
    m_root = normalised(root);
    const QByteArray start = folder.isEmpty() ? m_root : normalised(folder);
    // A remembered folder may have gone since: the drive then opens at its root.
    if (setPath(start) || (start != m_root && setPath(m_root)))
        return true;
    m_root = previousRoot;
    return false;
}

bool FolderListBox::setPath(const QByteArray &path)
{
    const QByteArray target = normalised(path);
    const FolderListing listing = FolderListing::read(target, FolderListing::Kind::Folders);
    if (listing.error() != 0) {
        Q_EMIT unreadable(target, listing.error());
        return false;
    }
    const bool changed = target != m_path;
    m_path = target;
    showRows(listing.rawNames());
    if (changed)
        Q_EMIT Change();
    return true;
}

void FolderListBox::refresh()
{
    const FolderListing listing = FolderListing::read(m_path, FolderListing::Kind::Folders);
    // Renamed or removed meanwhile (an undone tree takes its old names back): the nearest folder
    // above it that is still there.
    if (listing.error() == ENOENT && m_path != m_root) {
        QByteArray up = parentFolder(m_path);
        while (up != m_root && FolderListing::read(up, FolderListing::Kind::Folders).error() != 0)
            up = parentFolder(up);
        setPath(up);
        return;
    }
    showRows(listing.rawNames());
}

QByteArray FolderListBox::pathOf(const QListWidgetItem &item)
{
    return item.data(PathRole).toByteArray();
}

void FolderListBox::showRows(const QList<QByteArray> &subfolders)
{
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QListWidgetItem *current = nullptr;
    for (const FolderRow &row : folderRows(m_root, m_path, subfolders)) {
        auto *item = new QListWidgetItem(
            row.open ? open : closed, QString(row.depth * 2, QLatin1Char(' ')) + row.label, this);
        item->setData(PathRole, row.path);
        if (row.open)
            current = item;
    }
    setCurrentItem(current);
}

void FolderListBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Backspace) {
        // The list shows one drive: its root has no parent here.
        if (m_path != m_root)
            setPath(parentFolder(m_path));
        return;
    }
    QListWidget::keyPressEvent(event);
}

} // namespace tolvane
