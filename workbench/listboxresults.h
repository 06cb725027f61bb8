#pragma once

#include "engine/batch/resultlist.h"

#include <QObject>
#include <QStringList>

class QListWidget;

namespace tolvane {

// List1 as the engine's result list. Names are shown a few thousand per turn of the event
// loop, so that listing a batch of a hundred thousand files does not freeze the window.
class ListBoxResults : public QObject, public ResultList
{
    Q_OBJECT

public:
    explicit ListBoxResults(QListWidget &list);

    void clear() override;
    void append(const QString &name) override;
    // True while names are waiting to be shown.
    bool pending() const { return !m_pending.isEmpty(); }

private:
    void flush();

    QListWidget &m_list;
    QStringList m_pending;
    bool m_flushQueued = false;
};

} // namespace tolvane
