#pragma once

#include <QObject>

class QListView;
class QListWidget;

namespace tolvane {

class PreviewModel;

// The preview of a batch laid over List1: from the first name typed or choice made until the
// next batch starts, List1 shows every planned new name instead of the last results (greyed,
// refused rows in red).
class ListPreview : public QObject
{
    Q_OBJECT

public:
    explicit ListPreview(QListWidget &list1);

    PreviewModel &model() const { return *m_model; }
    QListView *view() const { return m_view; }
    bool active() const { return m_active; }
    void start();
    // List1 shows its results again.
    void end();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QListWidget &m_list1;
    PreviewModel *m_model;
    QListView *m_view;
    bool m_active = false;
};

} // namespace tolvane
