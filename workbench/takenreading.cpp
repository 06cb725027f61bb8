#include "workbench/takenreading.h"

#include "engine/listing/takendates.h"
#include "platform/photodate.h"
#include "workbench/batchprogress.h"

#include <QTimer>
#include <QWidget>

namespace tolvane {

TakenReading::TakenReading(QWidget &owner)
    : QObject(&owner), m_owner(owner), m_delay(new QTimer(this))
{
    m_delay->setSingleShot(true);
    m_delay->setInterval(500);
    connect(m_delay, &QTimer::timeout, this, &TakenReading::showProgress);
}

TakenReading::~TakenReading()
{
    stop();
}

void TakenReading::start(const QByteArray &folder, const ListOrder &order, const TypeFilter &filter,
                         std::function<void(const FolderListing &)> done,
                         std::function<void()> cancelled)
{
    stop();
    if (!m_dates || folder != m_folder) {
        m_dates = std::make_shared<TakenDates>(photoTakenAt);
        m_folder = folder;
    }
    m_dates->resume();
    m_done = std::move(done);
    m_cancelled = std::move(cancelled);
    m_running = true;
    m_delay->start();
    m_thread = std::thread([this, reading = ++m_reading, dates = m_dates, folder, order, filter] {
        const FolderListing listing =
            FolderListing::read(folder, FolderListing::Kind::Files, order, filter, dates.get());
        QMetaObject::invokeMethod(
            this,
            [this, reading, listing, cancelled = dates->cancelled()] {
                finished(reading, listing, cancelled);
            },
            Qt::QueuedConnection);
    });
}

void TakenReading::stop()
{
    // A result already on its way is recognised as stale by its number.
    ++m_reading;
    if (m_thread.joinable()) {
        m_dates->cancel();
        m_thread.join();
    }
    m_running = false;
    m_delay->stop();
    delete m_progress;
}

void TakenReading::showProgress()
{
    if (!m_running)
        return;
    m_progress = new BatchProgress(
        &m_owner, [dates = m_dates] { return dates->progress(); },
        QStringLiteral("正在读取拍摄日期：%1 / %2"));
    connect(m_progress, &BatchProgress::cancelled, this, [this] { m_dates->cancel(); });
    m_progress->show();
}

void TakenReading::finished(quint64 reading, const FolderListing &listing, bool cancelled)
{
    if (reading != m_reading)
        return;
    const auto done = std::move(m_done);
    const auto wasCancelled = std::move(m_cancelled);
    stop();
    if (cancelled)
        wasCancelled();
    else
        done(listing);
}

} // namespace tolvane
