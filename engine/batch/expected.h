#pragma once

#include <QString>
#include <optional>
#include <utility>

namespace tolvane {

// Why a step failed, in words for the user.
struct Failure
{
    QString why;
};

// What a step that can fail gives back: its value, or why there is none. The two travel
// together, so that no caller reads a value that was never made.
template <typename T> class Expected
{
public:
    Expected(T value) : m_value(std::move(value)) {}
    Expected(Failure failure) : m_error(std::move(failure.why)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const T &operator*() const { return *m_value; }
    T &operator*() { return *m_value; }
    const T *operator->() const { return &*m_value; }
    T *operator->() { return &*m_value; }
    // Empty when it succeeded.
    const QString &error() const { return m_error; }

private:
    std::optional<T> m_value;
    QString m_error;
};

// The value of a step that only succeeds or fails.
struct Done
{
};

} // namespace tolvane
