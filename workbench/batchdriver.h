#pragma once

#include <QObject>
#include <QPointer>
#include <QtGlobal>
#include <functional>
#include <thread>

class QTimer;
class QWidget;

namespace tolvane {

class BatchProgress;

// Runs the file work of a batch off the user-interface thread, so that the window keeps
// painting and can be dragged. While it runs the working form takes no input; after half a
// second a progress window shows how far it is and offers to cancel. The follow-up runs on the
// user-interface thread, the only one that touches the widgets.
class BatchDriver : public QObject
{
    Q_OBJECT

public:
    struct Work
    {
        std::function<void()> run;                                 // on the worker thread
        std::function<std::pair<qsizetype, qsizetype>()> progress; // files done, of how many
        std::function<void()> cancel;                              // from the user-interface thread
        std::function<void()> then;                                // on the user-interface thread
    };

    explicit BatchDriver(QWidget &form);
    // Waits for the work: it is cancelled first, and stops after its current move.
    ~BatchDriver() override;

    bool busy() const { return m_busy; }
    // Refused (false) while another batch runs.
    bool start(Work work);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showProgress();
    void finished();

    QWidget &m_form;
    Work m_work;
    std::thread m_thread;
    bool m_busy = false;
    QTimer *m_delay;
    QPointer<BatchProgress> m_progress;
};

} // namespace tolvane
