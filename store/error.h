#pragma once

#include <QString>
#include <stdexcept>

namespace store {

// The one error type of the table layer. Its text names the file and what is
// wrong, in German, ready to be shown to the user as it stands.
class StoreError : public std::runtime_error
{
public:
    explicit StoreError(const QString& text) : std::runtime_error(text.toStdString()), m_text(text) {}

    const QString& text() const { return m_text; }

private:
    QString m_text;
};

} // namespace store
