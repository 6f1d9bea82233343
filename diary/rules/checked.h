#pragma once

#include <QString>
#include <optional>
#include <utility>

// The value of a check that either lets an action pass or refuses it.
struct Passed
{
};

// What a plain rule that may refuse gives back: its value, or the message
// that says in German why the action is refused (lines joined by carriage
// returns), to be shown as it stands. Refusals of user actions come back
// this way; failures of the table layer stay errors (store::StoreError).
template <typename T = Passed> class [[nodiscard]] Checked
{
public:
    Checked(T value) : m_value(std::move(value)) {}
    static Checked refused(QString message)
    {
        Checked c;
        c.m_message = std::move(message);
        return c;
    }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    // Throws std::bad_optional_access on a refusal.
    const T& value() const { return m_value.value(); }
    const T& operator*() const { return *m_value; }
    const T* operator->() const { return &*m_value; }
    // Empty when the value is there.
    const QString& message() const { return m_message; }

    friend bool operator==(const Checked& checked, const T& value)
    {
        return checked.ok() && *checked == value;
    }

private:
    Checked() = default;

    std::optional<T> m_value;
    QString m_message;
};
