#pragma once

#include "engine/listing/folderlisting.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <thread>

class QTimer;
class QWidget;

namespace tolvane {

class BatchProgress;
class TakenDates;

// Reads a folder in the taken order off the user-interface thread: the dates of thousands of
// photos on a USB stick take seconds to read. After half a second a progress window shows how
// far it is and offers to cancel. A newer reading, or stop(), cancels the running one. Dates are
// kept, per file by its size and modification time, while the folder stays the same.
class TakenReading : public QObject
{
    Q_OBJECT

public:
    explicit TakenReading(QWidget &owner);
    // Waits for the running reading, cancelled first: it stops after its current file.
    ~TakenReading() override;

    bool running() const { return m_running; }
    // `done` gets the listing, or `cancelled` is called when the user cancelled; either on the
    // user-interface thread, and never after stop() or another start().
    void start(const QByteArray &folder, const ListOrder &order, const TypeFilter &filter,
               std::function<void(const FolderListing &)> done, std::function<void()> cancelled);
    void stop();

private:
    void showProgress();
    void finished(quint64 reading, const FolderListing &listing, bool cancelled);

    QWidget &m_owner;
    QByteArray m_folder;
    std::shared_ptr<TakenDates> m_dates;
    std::thread m_thread;
    quint64 m_reading = 0;
    bool m_running = false;
    std::function<void(const FolderListing &)> m_done;
    std::function<void()> m_cancelled;
    QTimer *m_delay;
    QPointer<BatchProgress> m_progress;
};

} // namespace tolvane
