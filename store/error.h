#pragma once

#include <QString>
#include <stdexcept>

namespace store {

// The one error type of the table layer. Its text names the file and what is
// wrong, in German, ready to be shown to the user as it stands.
class StoreError : public std::runtime_error
{
public:
    // Why the system refused a file operation, where the user can tell the
    // cases apart.
    enum class Cause {
        Other,
        NoPermission,       // EACCES, EPERM
        ReadOnlyFileSystem, // EROFS
    };

    explicit StoreError(const QString& text, Cause cause = Cause::Other, QString path = {})
        : std::runtime_error(text.toStdString()), m_text(text), m_cause(cause), m_path(std::move(path))
    {
    }

    const QString& text() const { return m_text; }
    Cause cause() const { return m_cause; }
    // The files may be whole, but the system does not let the program write
    // them.
    bool notWritable() const { return m_cause != Cause::Other; }
    // The file or folder the system refused, where the cause is not Other.
    const QString& path() const { return m_path; }

private:
    QString m_text;
    Cause m_cause;
    QString m_path;
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
