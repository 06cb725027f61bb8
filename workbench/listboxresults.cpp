#include "workbench/listboxresults.h"

#include <QListWidget>
#include <QTimer>
#include <algorithm>

namespace tolvane {

ListBoxResults::ListBoxResults(QListWidget &list) : QObject(&list), m_list(list)
{
    // Each row is measured for its own width; in batches, between turns of the event loop.
    m_list.setLayoutMode(QListView::Batched);
    m_list.setBatchSize(1000);
}

void ListBoxResults::clear()
{
    m_pending.clear();
    m_list.clear();
}

void ListBoxResults::append(const QString &name)
{
    m_pending.append(name);
    if (!m_flushQueued) {
        m_flushQueued = true;
        QTimer::singleShot(0, this, &ListBoxResults::flush);
    }
}

void ListBoxResults::flush()
{
    constexpr qsizetype perTurn = 4000;
    const qsizetype n = std::min(perTurn, m_pending.size());
    m_list.addItems(m_pending.first(n));
    m_pending.remove(0, n);
    m_flushQueued = !m_pending.isEmpty();
    if (m_flushQueued)
        QTimer::singleShot(0, this, &ListBoxResults::flush);
}

} // namespace tolvane
