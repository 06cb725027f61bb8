#include "workbench/batchdriver.h"

#include "workbench/batchprogress.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace tolvane {
namespace {

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
        return true;
    default:
        return false;
    }
}

} // namespace

BatchDriver::BatchDriver(QWidget &form) : QObject(&form), m_form(form), m_delay(new QTimer(this))
{
    m_delay->setSingleShot(true);
    m_delay->setInterval(500);
    connect(m_delay, &QTimer::timeout, this, &BatchDriver::showProgress);
}

BatchDriver::~BatchDriver()
{
    if (m_thread.joinable()) {
        if (m_work.cancel)
            m_work.cancel();
        m_thread.join();
    }
    qApp->removeEventFilter(this);
}

bool BatchDriver::start(Work work)
{
    if (m_busy)
        return false;
    if (m_thread.joinable())
        m_thread.join();
    m_busy = true;
    m_work = std::move(work);
    qApp->installEventFilter(this);
    m_delay->start();
    m_thread = std::thread([this] {
        m_work.run();
        QMetaObject::invokeMethod(this, &BatchDriver::finished, Qt::QueuedConnection);
    });
    return true;
}

void BatchDriver::showProgress()
{
    if (!m_busy || !m_work.progress)
        return;
    m_progress = new BatchProgress(&m_form, m_work.progress);
    connect(m_progress, &BatchProgress::cancelled, this, [this] {
        if (m_work.cancel)
            m_work.cancel();
    });
    m_progress->show();
}

void BatchDriver::finished()
{
    m_thread.join();
    m_delay->stop();
    delete m_progress;
    qApp->removeEventFilter(this);
    m_busy = false;
    // The follow-up may start the next stage of the same work (an undo asks, then moves).
    const std::function<void()> then = std::move(m_work.then);
    m_work = {};
    if (then)
        then();
}

bool BatchDriver::eventFilter(QObject *watched, QEvent *event)
{
    // The form is left alone while files move: a second click must not start a second batch,
    // nor a folder change pull the list from under it. The frame still moves and paints.
    if (m_busy && isInput(event->type()) && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        if (widget == &m_form || m_form.isAncestorOf(widget))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tolvane
