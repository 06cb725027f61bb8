#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QProgressBar;

namespace tolvane {

// "正在改名：k / N" (or another text with the two counts) with a "取消" button; Esc cancels too.
// Reads the count itself a few times a second, so the worker never waits for the window.
class BatchProgress : public QDialog
{
    Q_OBJECT

public:
    using Count = std::function<std::pair<qsizetype, qsizetype>()>;
    BatchProgress(QWidget *parent, Count count, QString text = QStringLiteral("正在改名：%1 / %2"));

Q_SIGNALS:
    void cancelled();

protected:
    void reject() override;

private:
    void update();

    Count m_count;
    QString m_text;
    QLabel *m_label;
    QProgressBar *m_bar;
};

} // namespace tolvane
