#include "workbench/listpreview.h"

#include "workbench/previewmodel.h"

#include <QEvent>
#include <QListView>
#include <QListWidget>

namespace tolvane {

ListPreview::ListPreview(QListWidget &list1)
    : QObject(&list1), m_list1(list1), m_model(new PreviewModel(this)),
      m_view(new QListView(&list1))
{
    m_view->setObjectName(QStringLiteral("List1Preview"));
    m_view->setAccessibleName(QStringLiteral("新文件名预览"));
    // Uniform rows keep a preview of 100,000 files as cheap to show as the file list.
    m_view->setUniformItemSizes(true);
    // Rows as wide as the list: the middle goes, the reason at the end stays.
    m_view->setTextElideMode(Qt::ElideMiddle);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setModel(m_model);
    m_view->hide();
    // Tab reaches it where it reaches List1, which it covers.
    QWidget::setTabOrder(&m_list1, m_view);
    // Its context menu is List1's (undo).
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, &m_list1,
            &QWidget::customContextMenuRequested);
    m_list1.installEventFilter(this);
}

void ListPreview::start()
{
    m_active = true;
    m_view->setGeometry(m_list1.rect());
    m_view->show();
}

void ListPreview::end()
{
    m_active = false;
    m_view->hide();
    // Tab reaches it where it reaches List1, which it covers.
    QWidget::setTabOrder(&m_list1, m_view);
    m_model->clear();
}

bool ListPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_list1 && event->type() == QEvent::Resize)
        m_view->setGeometry(m_list1.rect());
    return QObject::eventFilter(watched, event);
}

} // namespace tolvane
