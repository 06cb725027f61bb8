#pragma once

#include "engine/resultlist.h"

#include <QStringList>

class QListWidget;

namespace tolvane {

// List1 as the engine's result list. It also keeps the names appended since the last
// startJournal(), so the form can tell what a rename or conversion produced.
class ListBoxResults : public ResultList
{
public:
    explicit ListBoxResults(QListWidget &list) : m_list(list) {}

    void clear() override;
    void append(const QString &name) override;

    void startJournal() { m_journal.clear(); }
    const QStringList &journal() const { return m_journal; }

private:
    QListWidget &m_list;
    QStringList m_journal;
};

} // namespace tolvane
