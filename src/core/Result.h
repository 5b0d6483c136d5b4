#pragma once

// What an operation that can fail gives back: its value, or the reason it failed, in words fit
// to show the person ("Cannot save \"x.cvs\": File too large"). Header-only and QtCore-only, so
// that the simulated device can include it without linking core.

#include <QString>

#include <optional>
#include <utility>

// A failed outcome of any Result type: `return Failure{reason};`.
struct Failure {
    QString reason;
};

template <typename T> class [[nodiscard]] Result {
public:
    Result(T value)
        : stored(std::move(value)) {}
    Result(Failure failure)
        : why(std::move(failure.reason)) {}

    bool ok() const { return stored.has_value(); }
    explicit operator bool() const { return ok(); }
    // Only on success.
    const T &value() const & { return *stored; }
    T &value() & { return *stored; }
    T &&value() && { return std::move(*stored); }
    // Empty on success.
    const QString &reason() const { return why; }

private:
    std::optional<T> stored;
    QString why;
};

template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure)
        : failed(true)
        , why(std::move(failure.reason)) {}

    bool ok() const { return !failed; }
    explicit operator bool() const { return ok(); }
    const QString &reason() const { return why; }

private:
    bool failed = false;
    QString why;
};
