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

// A replacement of whole tables (replaceTables) that was decided, so that
// the new content is on the disk and named in the list of pending renames,
// but whose files could not all be put in place. The change counts as made:
// the next start puts the files in place. Until then the tables stay open
// and readable, and a later write first tries to finish it.
class DeferredReplacement : public StoreError
{
public:
    using StoreError::StoreError;
};

} // namespace store
