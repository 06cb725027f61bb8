#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <atomic>
#include <functional>
#include <optional>

namespace tolvane {

// The dates photos were taken, as the taken order compares them. Each file is read once while
// its size and modification time stay the same; it is known by its inode, so a rename keeps its
// date. One reading uses it at a time; another thread may count or cancel that reading.
class TakenDates
{
public:
    // When the file was taken, in seconds since the epoch; none when it holds no such date.
    using Reader = std::function<std::optional<qint64>(int folderFd, const QByteArray &name)>;
    explicit TakenDates(Reader reader) : m_reader(std::move(reader)) {}

    // The date taken in nanoseconds, else the modification time (taken false). A file that
    // cannot be read counts as undated and oldest.
    struct Stamp
    {
        qint64 time = 0;
        bool taken = false;
    };
    Stamp stamp(int folderFd, QByteArrayView name);

    // A reading of `total` files starts; each stamp counts one.
    void begin(qsizetype total);
    std::pair<qsizetype, qsizetype> progress() const { return {m_done, m_total}; }
    // Stops the reading after the file it is at; resume() before the next one.
    void cancel() { m_cancelled = true; }
    void resume() { m_cancelled = false; }
    bool cancelled() const { return m_cancelled; }

private:
    struct Known
    {
        qint64 size;
        qint64 modified;
        std::optional<qint64> taken;
    };

    Reader m_reader;
    QHash<quint64, Known> m_known;
    std::atomic<bool> m_cancelled = false;
    std::atomic<qsizetype> m_done = 0, m_total = 0;
};

} // namespace tolvane
