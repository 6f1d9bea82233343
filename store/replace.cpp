#include "store/error.h"
#include "store/table.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace store {
namespace {

// The list of pending renames. It is written under a temporary name and
// renamed into place: its appearance is the instant at which the new files
// are decided on; until then a crash leaves the old files.
const QString kListName = QStringLiteral("ZEB_NEU.LST");
const QString kNewSuffix = QStringLiteral(".neu");
// Seven names of a dozen letters: a longer file is no list of ours, and is
// not read further.
constexpr qint64 kListLimit = 512;

QString listPath(const QString& dir)
{
    return QDir(dir).filePath(kListName);
}

bool sameLetters(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x != y && !(x < 128 && y < 128 && QChar::toUpper(x) == QChar::toUpper(y)))
            return false;
    }
    return true;
}

// One of the seven table files, in any letter case.
bool isTableName(const QString& name)
{
    for (const TableSchema* table : schema::all()) {
        if (sameLetters(name, QLatin1String(table->fileName)))
            return true;
    }
    return false;
}

// The list holds one line per replaced table: the table's bare file name X,
// standing for the rename of X.neu over X.
QByteArray encodeList(const QStringList& names)
{
    QByteArray text;
    for (const QString& name : names)
        text += name.toLatin1() + '\n';
    return text;
}

// The names of a list as this program writes it, or nothing for any other
// content: a path, a name outside the diary's tables, a second line for
// the same table, anything but printable ASCII. A line "X.neu<tab>X", as
// the previous version wrote it, is read as X.
std::optional<QStringList> decodeList(const QByteArray& text)
{
    if (text.isEmpty() || !text.endsWith('\n'))
        return std::nullopt;
    QStringList names;
    for (const QByteArray& line : text.chopped(1).split('\n')) {
        for (const char c : line) {
            if ((c < 0x21 || c > 0x7E) && c != '\t')
                return std::nullopt;
        }
        const QList<QByteArray> parts = line.split('\t');
        const QString name = QString::fromLatin1(parts.back());
        if (parts.size() > 2 || (parts.size() == 2 && parts[0] != parts[1] + kNewSuffix.toLatin1()))
            return std::nullopt;
        if (!isTableName(name))
            return std::nullopt;
        for (const QString& seen : names) {
            if (sameLetters(seen, name))
                return std::nullopt;
        }
        names << name;
    }
    return names;
}

// The names of a list at `path` when it is a plain file of at most a few
// hundred bytes holding a list of ours.
std::optional<QStringList> readList(FileSystem& fs, const QString& path)
{
    const FileStatus status = fs.status(path);
    if (status.type != EntryType::Regular || status.size > kListLimit)
        return std::nullopt;
    QByteArray text(kListLimit + 1, Qt::Uninitialized);
    text.truncate(fs.open(path, false)->readAt(0, text.data(), text.size()));
    if (text.size() > kListLimit)
        return std::nullopt;
    return decodeList(text);
}

// Leftovers of a step that was not decided: new files of the diary's names,
// the list's own new file, and a list that decides nothing. Links are
// removed as links; a folder of such a name is left alone.
void removeLeftovers(FileSystem& fs, const QString& dir, bool withList)
{
    QStringList ours{kListName + kNewSuffix};
    for (const char* name : schema::diaryFileNames())
        ours << QLatin1String(name) + kNewSuffix;
    if (withList)
        ours << kListName;
    const QDir directory(dir);
    for (const QString& entry : fs.list(dir)) {
        bool match = false;
        for (const QString& name : ours)
            match = match || sameLetters(entry, name);
        if (match && fs.status(directory.filePath(entry)).type != EntryType::Directory)
            fs.remove(directory.filePath(entry));
    }
}

void removeQuietly(FileSystem& fs, const QString& path)
{
    try {
        fs.remove(path);
    } catch (const StoreError&) {
    }
}

} // namespace

void finishReplacement(FileSystem& fs, const QString& dir)
{
    const QString list = listPath(dir);
    if (fs.status(list).type == EntryType::Missing) {
        // Without the list the new files were never decided on.
        removeLeftovers(fs, dir, false);
        return;
    }
    const QDir directory(dir);
    std::optional<QStringList> names = readList(fs, list);
    if (names) {
        // A new file that is gone has been renamed already; one that is not
        // a plain file was never ours.
        for (const QString& name : *names) {
            const EntryType type = fs.status(directory.filePath(name + kNewSuffix)).type;
            if (type != EntryType::Regular && type != EntryType::Missing)
                names.reset();
            if (!names)
                break;
        }
    }
    if (!names) {
        removeLeftovers(fs, dir, true);
        return;
    }
    for (const QString& name : *names) {
        const QString from = directory.filePath(name + kNewSuffix);
        if (fs.status(from).type == EntryType::Regular)
            fs.rename(from, directory.filePath(name));
    }
    fs.syncDirectory(dir);
    fs.remove(list);
    fs.syncDirectory(dir);
}

void replaceTables(const std::vector<TableDraft*>& drafts)
{
    std::vector<TableDraft*> changed;
    for (TableDraft* d : drafts) {
        if (d->changed())
            changed.push_back(d);
    }
    if (changed.empty())
        return;
    Table& lead = changed.front()->table();
    FileSystem& fs = lead.fileSystem();
    const QString dir = lead.dir();
    const QString list = listPath(dir);

    // A step left pending by an earlier failure comes first, or the new list
    // would take its place.
    if (fs.status(list).type != EntryType::Missing)
        Table::finishWaiting(fs, dir, nullptr);
    for (TableDraft* d : changed) {
        Table& table = d->table();
        if (!table.fileUnchanged() || !table.m_stamp.sameAs(d->m_stamp))
            throw StoreError(
                QStringLiteral("%1: Die Datei wurde inzwischen von einem anderen Programm geändert. "
                               "Es wurde nichts verändert; bitte wiederholen Sie den Vorgang.")
                    .arg(table.fileName()));
    }

    QStringList names;
    for (TableDraft* d : changed)
        names << QFileInfo(d->table().path()).fileName();
    const auto newFile = [&](int i) { return changed[i]->table().path() + kNewSuffix; };

    bool decided = false;
    try {
        for (size_t i = 0; i < changed.size(); ++i) {
            auto file = fs.create(newFile(i), true);
            // The new file is the old one's successor: its permissions (and
            // owner) before any of its content.
            file->adoptOwnerAndMode(changed[i]->table().m_stamp);
            const QByteArray image = changed[i]->image();
            file->writeAt(0, image.constData(), image.size());
            file->sync();
        }
        const QByteArray text = encodeList(names);
        auto file = fs.create(list + kNewSuffix, true);
        file->writeAt(0, text.constData(), text.size());
        file->sync();
        file.reset();
        fs.syncDirectory(dir);
        fs.rename(list + kNewSuffix, list);
        decided = true;
        fs.syncDirectory(dir);
        for (size_t i = 0; i < changed.size(); ++i)
            fs.rename(newFile(i), changed[i]->table().path());
        fs.syncDirectory(dir);
        fs.remove(list);
        fs.syncDirectory(dir);
    } catch (const StoreError& e) {
        if (!decided) {
            for (size_t i = 0; i < changed.size(); ++i)
                removeQuietly(fs, newFile(i));
            removeQuietly(fs, list + kNewSuffix);
            throw;
        }
        // Decided: the new files must come into place before any table
        // writes again, or its writes would go to a file no longer in use.
        // A second try may succeed (a passing fault); otherwise the tables
        // keep reading their old files and the next start finishes it.
        try {
            finishReplacement(fs, dir);
        } catch (const StoreError&) {
            for (TableDraft* d : changed)
                d->table().setReplacementPending(true);
            throw DeferredReplacement(
                QStringLiteral("%1\rDie Änderung ist gespeichert und wird beim nächsten Start abgeschlossen.")
                    .arg(e.text()));
        }
    }
    std::optional<StoreError> failure;
    for (TableDraft* d : changed) {
        try {
            d->table().reopen();
        } catch (const StoreError& e) {
            if (!failure)
                failure = e;
        }
    }
    if (failure)
        throw *failure;
}

} // namespace store
