#pragma once

#include "engine/batch/resultlist.h"

#include <QStringList>

namespace tolvane::test {

// A result list that keeps its items in memory.
class FakeResultList : public ResultList
{
public:
    void clear() override { m_items.clear(); }
    void append(const QString &name) override { m_items.append(name); }

    const QStringList &items() const { return m_items; }

private:
    QStringList m_items;
};

} // namespace tolvane::test
