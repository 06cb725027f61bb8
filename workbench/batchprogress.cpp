#include "workbench/batchprogress.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tolvane {

BatchProgress::BatchProgress(QWidget *parent, Count count, QString text)
    : QDialog(parent), m_count(std::move(count)), m_text(std::move(text)),
      m_label(new QLabel(this)), m_bar(new QProgressBar(this))
{
    setObjectName(QStringLiteral("BatchProgress"));
    setWindowTitle(QStringLiteral("Tolvane"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto *cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(cancel, &QPushButton::clicked, this, &BatchProgress::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->addWidget(cancel, 0, Qt::AlignRight);
    m_bar->setTextVisible(false);
    auto *timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &BatchProgress::update);
    timer->start(100);
    update();
    cancel->setFocus();
}

void BatchProgress::update()
{
    const auto [done, total] = m_count();
    m_label->setText(m_text.arg(done).arg(total));
    // QProgressBar counts in int; the share is what matters.
    m_bar->setRange(0, 1000);
    m_bar->setValue(total > 0 ? int(done * 1000 / total) : 0);
}

void BatchProgress::reject()
{
    m_label->setText(QStringLiteral("正在取消……"));
    Q_EMIT cancelled();
}

} // namespace tolvane
