#include "store/error.h"
#include "store/table.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cctype>
#include <optional>

namespace store {
namespace {

// The list of pending renames. It is written under a temporary name and
// renamed into place: its appearance is the instant at which the new files
// are decided on; until then a crash leaves the old files.
const QString kListName = QStringLiteral("ZEB_NEU.LST");
const QString kNewSuffix = QStringLiteral(".neu");
// What a name set aside gets appended, followed by a number from the second
// time on.
const QString kAsideSuffix = QStringLiteral(".beiseite");
// The first line of a list that names the files of each replacement.
const QByteArray kListFormat = "KELVARA-ERSETZUNG 2";
// Seven lines of a few numbers and two checksums: a longer file is no list
// of ours, and is not read further.
constexpr qint64 kListLimit = 4096;

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

// The schema of one of the seven table files, in any letter case.
const TableSchema* schemaOf(const QString& name)
{
    for (const TableSchema* table : schema::all()) {
        if (sameLetters(name, QLatin1String(table->fileName)))
            return table;
    }
    return nullptr;
}

// A file's content as the list names it: length, header date (YYYYMMDD),
// record count and checksum.
struct Identity
{
    qint64 size = 0;
    int date = 0;
    quint32 count = 0;
    QByteArray sha256; // hexadecimal

    bool operator==(const Identity&) const = default;
};

Identity identityOf(const QByteArray& bytes)
{
    Identity id;
    id.size = bytes.size();
    if (bytes.size() >= 8) {
        const auto byte = [&](int i) { return static_cast<unsigned char>(bytes[i]); };
        id.date = (1900 + byte(1)) * 10000 + byte(2) * 100 + byte(3);
        id.count = byte(4) | byte(5) << 8 | byte(6) << 16 | quint32(byte(7)) << 24;
    }
    id.sha256 = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    return id;
}

// Whether the plain file at `path` has the content `id` names; its length
// is compared before anything is read.
bool hasIdentity(FileSystem& fs, const QString& path, const Identity& id)
{
    const FileStatus status = fs.status(path);
    if (status.type != EntryType::Regular || status.size != id.size)
        return false;
    try {
        return identityOf(fs.openToRead(path)->readAll()) == id;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// One replaced table: its bare file name X, standing for the rename of
// X.neu over X, and in the current format the file it was made from and
// the new file.
struct Listed
{
    QString name;
    std::optional<Identity> old;
    std::optional<Identity> made;
};

QByteArray encodeList(const std::vector<Listed>& entries)
{
    QByteArray text = kListFormat + '\n';
    const auto fields = [](const Identity& id) {
        return QByteArray::number(id.size) + '\t' + QByteArray::number(id.date) + '\t' +
               QByteArray::number(id.count) + '\t' + id.sha256;
    };
    for (const Listed& e : entries)
        text += e.name.toLatin1() + '\t' + fields(*e.old) + '\t' + fields(*e.made) + '\n';
    return text;
}

std::optional<Identity> decodeIdentity(const QList<QByteArray>& parts, qsizetype at)
{
    bool ok[3] = {};
    Identity id;
    id.size = parts[at].toLongLong(&ok[0]);
    id.date = parts[at + 1].toInt(&ok[1]);
    id.count = parts[at + 2].toUInt(&ok[2]);
    id.sha256 = parts[at + 3];
    const bool hex = id.sha256.size() == 64 &&
                     std::all_of(id.sha256.begin(), id.sha256.end(), [](char c) { return std::isxdigit(uchar(c)); });
    if (!ok[0] || !ok[1] || !ok[2] || !hex || id.size < 0)
        return std::nullopt;
    return id;
}

// The entries of a list as this program writes it, or nothing for any other
// content: a path, a name outside the diary's tables, a second line for
// the same table, anything but printable ASCII. Without the format line
// the list is one of the previous version: bare names, or lines
// "X.neu<tab>X" read as X.
std::optional<std::vector<Listed>> decodeList(const QByteArray& text)
{
    if (text.isEmpty() || !text.endsWith('\n'))
        return std::nullopt;
    QList<QByteArray> lines = text.chopped(1).split('\n');
    const bool current = lines.front() == kListFormat;
    if (current)
        lines.removeFirst();
    std::vector<Listed> entries;
    for (const QByteArray& line : lines) {
        for (const char c : line) {
            if ((c < 0x21 || c > 0x7E) && c != '\t')
                return std::nullopt;
        }
        const QList<QByteArray> parts = line.split('\t');
        Listed e;
        if (current) {
            if (parts.size() != 9)
                return std::nullopt;
            e.name = QString::fromLatin1(parts[0]);
            e.old = decodeIdentity(parts, 1);
            e.made = decodeIdentity(parts, 5);
            if (!e.old || !e.made)
                return std::nullopt;
        } else {
            e.name = QString::fromLatin1(parts.back());
            if (parts.size() > 2 || (parts.size() == 2 && parts[0] != parts[1] + kNewSuffix.toLatin1()))
                return std::nullopt;
        }
        if (!schemaOf(e.name))
            return std::nullopt;
        for (const Listed& seen : entries) {
            if (sameLetters(seen.name, e.name))
                return std::nullopt;
        }
        entries.push_back(e);
    }
    if (entries.empty())
        return std::nullopt;
    return entries;
}

// The entries of a list at `path` when it is a plain file of at most a few
// kilobytes holding a list of ours.
std::optional<std::vector<Listed>> readList(FileSystem& fs, const QString& path)
{
    const FileStatus status = fs.status(path);
    if (status.type != EntryType::Regular || status.size > kListLimit)
        return std::nullopt;
    QByteArray text(kListLimit + 1, Qt::Uninitialized);
    text.truncate(fs.openToRead(path)->readAt(0, text.data(), text.size()));
    if (text.size() > kListLimit)
        return std::nullopt;
    return decodeList(text);
}

enum class Step { Pending, Done, Refused };

// Where the rename of one listed table stands, or Refused when the files
// are not the ones the list names.
Step stepOf(FileSystem& fs, const QDir& dir, const Listed& e)
{
    const QString table = dir.filePath(e.name), made = table + kNewSuffix;
    const EntryType type = fs.status(made).type;
    if (!e.made)
        return type == EntryType::Regular && Table::wellFormed(*schemaOf(e.name), fs, made) ? Step::Pending
                                                                                         : Step::Refused;
    if (type == EntryType::Missing)
        return hasIdentity(fs, table, *e.made) ? Step::Done : Step::Refused;
    const bool sound = type == EntryType::Regular && hasIdentity(fs, made, *e.made) &&
                       Table::wellFormed(*schemaOf(e.name), fs, made) && hasIdentity(fs, table, *e.old);
    return sound ? Step::Pending : Step::Refused;
}

// The names of the diary's new files and, with `withList`, of the list.
bool isOurs(const QString& entry, bool withList)
{
    QStringList ours{kListName + kNewSuffix};
    for (const char* name : schema::diaryFileNames())
        ours << QLatin1String(name) + kNewSuffix;
    if (withList)
        ours << kListName;
    return std::any_of(ours.begin(), ours.end(), [&](const QString& name) { return sameLetters(entry, name); });
}

// Leftovers of a step that was not decided: new files of the diary's names
// and the list's own new file. Links are removed as links; a folder of such
// a name is left alone.
void removeLeftovers(FileSystem& fs, const QString& dir)
{
    const QDir directory(dir);
    for (const QString& entry : fs.list(dir)) {
        if (isOurs(entry, false) && fs.status(directory.filePath(entry)).type != EntryType::Directory)
            fs.remove(directory.filePath(entry));
    }
}

// A list that decides nothing, and the new files beside it, renamed to
// names that nothing of the diary uses; the list last, so that a crash
// before leaves it to be set aside again. Returns "old → new" per file.
QStringList setAside(FileSystem& fs, const QString& dir)
{
    const QDir directory(dir);
    QStringList names;
    for (const QString& entry : fs.list(dir)) {
        if (isOurs(entry, false) && fs.status(directory.filePath(entry)).type != EntryType::Directory)
            names << entry;
    }
    names << kListName;
    QStringList moved;
    for (const QString& name : names) {
        for (int n = 1;; ++n) {
            const QString aside = name + kAsideSuffix + (n > 1 ? QString::number(n) : QString());
            if (fs.status(directory.filePath(aside)).type != EntryType::Missing)
                continue;
            fs.moveAside(directory.filePath(name), directory.filePath(aside));
            moved << QStringLiteral("%1 → %2").arg(name, aside);
            break;
        }
    }
    fs.syncDirectory(dir);
    return moved;
}

void removeQuietly(FileSystem& fs, const QString& path)
{
    try {
        fs.remove(path);
    } catch (const StoreError&) {
    }
}

// A run that cannot put its files in place is refused before it writes.
void checkWritable(FileSystem& fs, const QString& path, bool folder)
{
    if (fs.writable(path))
        return;
    throw StoreError(folder ? QStringLiteral("%1: Der Ordner des Tagebuchs kann nicht beschrieben werden. "
                                             "Es wurde nichts verändert.")
                                  .arg(QDir::toNativeSeparators(path))
                            : QStringLiteral("%1: Die Datei kann nicht beschrieben werden (schreibgeschützt). "
                                             "Es wurde nichts verändert.")
                                  .arg(QFileInfo(path).fileName()),
                     StoreError::Cause::NoPermission, path);
}

} // namespace

QStringList finishReplacement(FileSystem& fs, const QString& dir)
{
    const QString list = listPath(dir);
    if (fs.status(list).type == EntryType::Missing) {
        // Without the list the new files were never decided on.
        removeLeftovers(fs, dir);
        return {};
    }
    const QDir directory(dir);
    const std::optional<std::vector<Listed>> entries = readList(fs, list);
    std::vector<const Listed*> pending;
    bool sound = entries.has_value();
    for (size_t i = 0; sound && i < entries->size(); ++i) {
        const Step step = stepOf(fs, directory, (*entries)[i]);
        sound = step != Step::Refused;
        if (step == Step::Pending)
            pending.push_back(&(*entries)[i]);
    }
    if (!sound)
        return setAside(fs, dir);
    for (const Listed* e : pending)
        fs.rename(directory.filePath(e->name + kNewSuffix), directory.filePath(e->name));
    fs.syncDirectory(dir);
    fs.remove(list);
    fs.syncDirectory(dir);
    return {};
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
    checkWritable(fs, dir, true);
    for (TableDraft* d : changed)
        checkWritable(fs, d->table().path(), false);
    // From the check to the decision, programs that lock are kept out of
    // the tables; the others are caught by a second check just before it.
    std::vector<std::unique_ptr<WriteLock>> locks;
    for (TableDraft* d : changed)
        locks.push_back(std::make_unique<WriteLock>(*d->table().m_file));
    const auto checkUnchanged = [&] {
        for (TableDraft* d : changed) {
            Table& table = d->table();
            if (!table.fileUnchanged() || !table.m_stamp.sameAs(d->m_stamp))
                throw StoreError(
                    QStringLiteral("%1: Die Datei wurde inzwischen von einem anderen Programm geändert. "
                                   "Es wurde nichts verändert; bitte wiederholen Sie den Vorgang.")
                        .arg(table.fileName()));
        }
    };
    checkUnchanged();
    // The tables as the list names them are the ones on the disk: a count
    // still held back from an append goes there first.
    for (TableDraft* d : changed) {
        d->table().m_file->sync();
        d->table().restamp();
        d->m_stamp = d->table().m_stamp;
    }

    const auto newFile = [&](size_t i) { return changed[i]->table().path() + kNewSuffix; };
    std::vector<Listed> entries;
    std::vector<std::unique_ptr<File>> files;
    bool decided = false;
    try {
        for (size_t i = 0; i < changed.size(); ++i) {
            Table& table = changed[i]->table();
            const QByteArray image = changed[i]->image();
            entries.push_back({QFileInfo(table.path()).fileName(), identityOf(table.m_file->readAll()),
                               identityOf(image)});
            removeQuietly(fs, newFile(i));
            files.push_back(fs.create(newFile(i)));
            // The new file is the old one's successor: its permissions (and
            // owner) as they are now, before any of its content.
            files.back()->adoptOwnerAndMode(table.m_file->status());
            files.back()->writeAt(0, image.constData(), image.size());
            files.back()->sync();
        }
        const QByteArray text = encodeList(entries);
        removeQuietly(fs, list + kNewSuffix);
        auto file = fs.create(list + kNewSuffix);
        file->writeAt(0, text.constData(), text.size());
        file->sync();
        file.reset();
        fs.syncDirectory(dir);
        checkUnchanged();
        fs.rename(list + kNewSuffix, list);
        decided = true;
        fs.syncDirectory(dir);
        for (size_t i = 0; i < changed.size(); ++i)
            fs.rename(newFile(i), changed[i]->table().path());
        fs.syncDirectory(dir);
        fs.remove(list);
        fs.syncDirectory(dir);
    } catch (const StoreError& e) {
        locks.clear();
        if (!decided) {
            files.clear();
            for (size_t i = 0; i < changed.size(); ++i)
                removeQuietly(fs, newFile(i));
            removeQuietly(fs, list + kNewSuffix);
            throw;
        }
        // Decided: the new files must come into place before any table
        // writes again, or its writes would go to a file no longer in use.
        // A second try may succeed (a passing fault); otherwise the tables
        // keep reading their old files and the next start finishes it.
        QStringList aside;
        try {
            aside = finishReplacement(fs, dir);
        } catch (const StoreError&) {
            for (TableDraft* d : changed)
                d->table().setReplacementPending(true);
            throw DeferredReplacement(
                QStringLiteral("%1\rDie Änderung ist gespeichert und wird beim nächsten Start abgeschlossen.")
                    .arg(e.text()));
        }
        if (!aside.isEmpty()) {
            // Another program changed the files meanwhile: nothing was
            // replaced, and the tables read what is there.
            files.clear();
            for (TableDraft* d : changed)
                d->table().reopen();
            throw StoreError(e.text());
        }
    }
    locks.clear();
    std::optional<StoreError> failure;
    for (size_t i = 0; i < changed.size(); ++i) {
        try {
            changed[i]->table().reopen(i < files.size() ? std::move(files[i]) : nullptr);
        } catch (const StoreError& e) {
            if (!failure)
                failure = e;
        }
    }
    if (failure)
        throw *failure;
}

} // namespace store
