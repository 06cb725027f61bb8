#pragma once

#include "engine/resultlist.h"

#include <QStringList>

namespace tolvane::test {

// A result list that keeps its items in memory and counts how often it was cleared.
class FakeResultList : public ResultList
{
public:
    void clear() override
    {
        m_items.clear();
        ++m_clears;
    }
    void append(const QString &name) override { m_items.append(name); }

    const QStringList &items() const { return m_items; }
    int clears() const { return m_clears; }

private:
    QStringList m_items;
    int m_clears = 0;
};

} // namespace tolvane::test
