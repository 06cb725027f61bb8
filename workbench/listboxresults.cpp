#include "workbench/listboxresults.h"

#include <QListWidget>

namespace tolvane {

void ListBoxResults::clear()
{
    m_list.clear();
}

void ListBoxResults::append(const QString &name)
{
    m_list.addItem(name);
    m_journal.append(name);
}

} // namespace tolvane
