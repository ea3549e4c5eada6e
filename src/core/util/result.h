#pragma once
// A value or an error text: how parsers and file operations report failure.

#include <QString>
#include <optional>
#include <utility>

namespace tamble {

template <typename T>
class Result {
public:
    static Result ok(T value) { Result r; r.m_value = std::move(value); return r; }
    static Result fail(QString error) { Result r; r.m_error = std::move(error); return r; }

    bool has_value() const { return m_value.has_value(); }
    explicit operator bool() const { return has_value(); }
    T& value() { return *m_value; }
    const T& value() const { return *m_value; }
    T* operator->() { return &*m_value; }
    const T* operator->() const { return &*m_value; }
    T& operator*() { return *m_value; }
    const T& operator*() const { return *m_value; }
    const QString& error() const { return m_error; }

private:
    std::optional<T> m_value;
    QString m_error;
};

} // namespace tamble
