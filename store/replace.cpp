#include "store/clock.h"
#include "store/create.h"
#include "store/error.h"
#include "store/ndxformat.h"
#include "store/table.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cctype>
#include <cstring>
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
// Nine lines of a few numbers and two checksums: a longer file is no list
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

// The catalogue whose name index is `name`, in any letter case.
const TableSchema* indexedBy(const QString& name)
{
    for (const TableSchema* table : schema::all()) {
        if (table->indexFileName && sameLetters(name, QLatin1String(table->indexFileName)))
            return table;
    }
    return nullptr;
}

// Whether the file at `path` is a complete file of the diary's `name`: a
// table of its schema, or a readable name index of its catalogue.
bool wellFormedAs(FileSystem& fs, const QString& name, const QString& path)
{
    if (const TableSchema* table = schemaOf(name))
        return RecordFile::wellFormed(*table, fs, path);
    const TableSchema* catalogue = indexedBy(name);
    try {
        const int width = catalogue->fields[catalogue->fieldPosition(catalogue->indexField)].width;
        ndx::read(fs.openToRead(path)->readAll(), width, name);
        return true;
    } catch (const StoreError&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
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

// One replaced or new file: its bare file name X, standing for the rename
// of X.neu to X, and in the current format the file it was made from (none
// for a file that did not exist: `created`) and the new file.
struct Listed
{
    QString name;
    std::optional<Identity> old;
    std::optional<Identity> made;
    bool created = false;
};

// In place of the four fields of the old file, a file that did not exist
// has four of these.
const QByteArray kNone = "-";

QByteArray encodeList(const std::vector<Listed>& entries)
{
    QByteArray text = kListFormat + '\n';
    const auto fields = [](const std::optional<Identity>& id) {
        if (!id)
            return kNone + '\t' + kNone + '\t' + kNone + '\t' + kNone;
        return QByteArray::number(id->size) + '\t' + QByteArray::number(id->date) + '\t' +
               QByteArray::number(id->count) + '\t' + id->sha256;
    };
    for (const Listed& e : entries)
        text += e.name.toLatin1() + '\t' + fields(e.old) + '\t' + fields(e.made) + '\n';
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
// content: a path, a name outside the diary's tables (or, for a file that
// did not exist, the diary's nine files), a second line for the same file,
// anything but printable ASCII. Without the format line the list is one of
// the previous version: bare names, or lines "X.neu<tab>X" read as X.
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
            e.created = std::all_of(parts.begin() + 1, parts.begin() + 5,
                                    [](const QByteArray& p) { return p == kNone; });
            e.old = decodeIdentity(parts, 1);
            e.made = decodeIdentity(parts, 5);
            if ((!e.old && !e.created) || !e.made)
                return std::nullopt;
        } else {
            e.name = QString::fromLatin1(parts.back());
            if (parts.size() > 2 || (parts.size() == 2 && parts[0] != parts[1] + kNewSuffix.toLatin1()))
                return std::nullopt;
        }
        if (!schemaOf(e.name) && !(e.created && indexedBy(e.name)))
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

// Where the rename of one listed file stands, or Refused when the files
// are not the ones the list names. A file that did not exist is put in
// place only while nothing stands at its name, in any letter case.
Step stepOf(FileSystem& fs, const QDir& dir, const Listed& e)
{
    const QString table = dir.filePath(e.name), made = table + kNewSuffix;
    const EntryType type = fs.status(made).type;
    if (!e.made)
        return type == EntryType::Regular && wellFormedAs(fs, e.name, made) ? Step::Pending : Step::Refused;
    if (type == EntryType::Missing)
        return hasIdentity(fs, table, *e.made) ? Step::Done : Step::Refused;
    const bool before =
        e.created ? findFile(dir.path(), e.name, fs).isEmpty() : hasIdentity(fs, table, *e.old);
    const bool sound = type == EntryType::Regular && hasIdentity(fs, made, *e.made) &&
                       wellFormedAs(fs, e.name, made) && before;
    return sound ? Step::Pending : Step::Refused;
}

// Renames the new file of `path` into place: over the old file, or for a
// file that did not exist only to a name that is still free.
void putInPlace(FileSystem& fs, const QString& path, bool created)
{
    if (created)
        fs.moveAside(path + kNewSuffix, path);
    else
        fs.rename(path + kNewSuffix, path);
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

// A file of a step: the new content for the name `path`, and the file that
// stands there now (none for a file that does not exist yet) with the
// owner and mode the new one takes over.
struct Planned
{
    QString path;
    QByteArray image;
    std::optional<Identity> old;
    std::optional<FileStatus> successorOf;
};

// Writes every planned file under its new name, synced, then the list that
// names them; `beforeDecision` may still refuse by throwing; then decides
// the step by renaming the list into place. Before the decision a failure
// removes what was written and passes the error on: nothing changed.
// Returns the new files, open.
std::vector<std::unique_ptr<File>> writeAndDecide(FileSystem& fs, const QString& dir,
                                                  const std::vector<Planned>& planned,
                                                  const std::function<void()>& beforeDecision)
{
    const QString list = listPath(dir);
    std::vector<Listed> entries;
    std::vector<std::unique_ptr<File>> files;
    try {
        for (const Planned& p : planned) {
            const QString made = p.path + kNewSuffix;
            entries.push_back({QFileInfo(p.path).fileName(), p.old, identityOf(p.image), !p.old});
            removeQuietly(fs, made);
            files.push_back(fs.create(made));
            // A new content is the old file's successor: its permissions
            // (and owner) as they are now, before any of its content.
            if (p.successorOf)
                files.back()->adoptOwnerAndMode(*p.successorOf);
            files.back()->writeAt(0, p.image.constData(), p.image.size());
            files.back()->sync();
        }
        const QByteArray text = encodeList(entries);
        removeQuietly(fs, list + kNewSuffix);
        auto file = fs.create(list + kNewSuffix);
        file->writeAt(0, text.constData(), text.size());
        file->sync();
        file.reset();
        fs.syncDirectory(dir);
        if (beforeDecision)
            beforeDecision();
        fs.rename(list + kNewSuffix, list);
    } catch (const StoreError&) {
        files.clear();
        for (const Planned& p : planned)
            removeQuietly(fs, p.path + kNewSuffix);
        removeQuietly(fs, list + kNewSuffix);
        throw;
    }
    return files;
}

// Puts the files of a decided step in place and removes its list. When
// that fails, `failed` is told and a second try (finishReplacement) may
// succeed after a passing fault. Otherwise the step waits for the next
// start: DeferredReplacement. When the second try found files changed by
// another program and set the list aside, nothing was replaced:
// `setAside` is told and the first error passed on.
void completeDecided(FileSystem& fs, const QString& dir, const std::vector<Planned>& planned,
                     const std::function<void()>& failed, const std::function<void()>& setAside)
{
    try {
        fs.syncDirectory(dir);
        for (const Planned& p : planned)
            putInPlace(fs, p.path, !p.old);
        fs.syncDirectory(dir);
        fs.remove(listPath(dir));
        fs.syncDirectory(dir);
    } catch (const StoreError& e) {
        if (failed)
            failed();
        QStringList aside;
        try {
            aside = finishReplacement(fs, dir);
        } catch (const StoreError&) {
            throw DeferredReplacement(
                QStringLiteral("%1\rDie Änderung ist gespeichert und wird beim nächsten Start abgeschlossen.")
                    .arg(e.text()));
        }
        if (!aside.isEmpty()) {
            if (setAside)
                setAside();
            throw StoreError(e.text());
        }
    }
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
        putInPlace(fs, directory.filePath(e->name), e->created);
    fs.syncDirectory(dir);
    fs.remove(list);
    fs.syncDirectory(dir);
    return {};
}

// ---------------------------------------------------------------- TableDraft

TableDraft::TableDraft(Table& table) : m_table(table)
{
    RecordFile& file = table.m_file;
    if (!file.isOpen())
        throw StoreError(QStringLiteral("%1: Tabelle ist nicht geöffnet.").arg(file.fileName()));
    // A record being edited is posted first, as a change of filter does;
    // then the draft starts from the file as it is now.
    table.post();
    file.followFile();
    m_stamp = file.m_stamp;
    m_recordLength = file.recordLength();
    m_records = file.m_records;
}

RecordFile& TableDraft::file() const
{
    return m_table.m_file;
}

std::vector<quint32> TableDraft::dayRecords(QDate day) const
{
    std::vector<quint32> list = file().dayRecords(day, day);
    std::erase_if(list, [this](quint32 recno) { return m_records[recno * m_recordLength] == dbf::kDeleted; });
    return list;
}

RecordRef TableDraft::record(quint32 recno) const
{
    return RecordRef(file(), m_records.constData() + recno * m_recordLength);
}

void TableDraft::remove(quint32 recno)
{
    char& flag = m_records[recno * m_recordLength];
    if (flag != dbf::kDeleted) {
        flag = dbf::kDeleted;
        m_changed = true;
    }
}

void TableDraft::change(quint32 recno, const Fields& values)
{
    const QByteArray old(m_records.constData() + recno * m_recordLength, m_recordLength);
    const QByteArray changed = file().encoded(old, values);
    if (changed != old) {
        std::memcpy(m_records.data() + recno * m_recordLength, changed.constData(), m_recordLength);
        m_changed = true;
    }
}

void TableDraft::append(const Fields& values)
{
    m_appended.append(file().encoded(file().blankRecord(), values));
    m_changed = true;
}

QByteArray TableDraft::image() const
{
    QByteArray image = file().m_headerBytes;
    image.reserve(image.size() + m_records.size() + m_appended.size() + 1);
    quint32 kept = 0;
    for (qint64 offset = 0; offset < m_records.size(); offset += m_recordLength) {
        if (m_records[offset] != dbf::kDeleted) {
            image.append(m_records.constData() + offset, m_recordLength);
            ++kept;
        }
    }
    image.append(m_appended);
    kept += static_cast<quint32>(m_appended.size() / m_recordLength);
    image.append(dbf::kEndOfFile);
    const QByteArray counts = dbf::countBytes(kept, today());
    std::memcpy(image.data() + 1, counts.constData() + 1, 7);
    return image;
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
    RecordFile& lead = changed.front()->file();
    FileSystem& fs = lead.fileSystem();
    const QString dir = lead.dir();

    // A step left pending by an earlier failure comes first, or the new list
    // would take its place.
    if (fs.status(listPath(dir)).type != EntryType::Missing)
        RecordFile::finishWaiting(fs, dir, nullptr);
    checkWritable(fs, dir, true);
    for (TableDraft* d : changed)
        checkWritable(fs, d->file().path(), false);
    // From the check to the decision, programs that lock are kept out of
    // the tables; the others are caught by a second check just before it.
    std::vector<std::unique_ptr<WriteLock>> locks;
    for (TableDraft* d : changed)
        locks.push_back(std::make_unique<WriteLock>(*d->file().m_file));
    const auto checkUnchanged = [&] {
        for (TableDraft* d : changed) {
            RecordFile& file = d->file();
            if (!file.fileUnchanged() || !file.m_stamp.sameAs(d->m_stamp))
                throw StoreError(
                    QStringLiteral("%1: Die Datei wurde inzwischen von einem anderen Programm geändert. "
                                   "Es wurde nichts verändert; bitte wiederholen Sie den Vorgang.")
                        .arg(file.fileName()));
        }
    };
    checkUnchanged();
    // The tables as the list names them are the ones on the disk: a count
    // still held back from an append goes there first.
    std::vector<Planned> planned;
    for (TableDraft* d : changed) {
        RecordFile& file = d->file();
        file.m_file->sync();
        file.restamp();
        d->m_stamp = file.m_stamp;
        planned.push_back(
            {file.path(), d->image(), identityOf(file.m_file->readAll()), file.m_file->status()});
    }

    std::vector<std::unique_ptr<File>> files = writeAndDecide(fs, dir, planned, checkUnchanged);
    // Decided: the new files must come into place before any table writes
    // again, or its writes would go to a file no longer in use. Until they
    // are, the tables keep reading their old files.
    try {
        completeDecided(
            fs, dir, planned, [&] { locks.clear(); },
            [&] {
                // Nothing was replaced: the tables read what is there.
                files.clear();
                for (TableDraft* d : changed)
                    d->file().reopen();
            });
    } catch (const DeferredReplacement&) {
        for (TableDraft* d : changed)
            d->file().setReplacementPending(true);
        throw;
    }
    locks.clear();
    std::optional<StoreError> failure;
    for (size_t i = 0; i < changed.size(); ++i) {
        try {
            changed[i]->file().reopen(i < files.size() ? std::move(files[i]) : nullptr);
        } catch (const StoreError& e) {
            if (!failure)
                failure = e;
        }
    }
    if (failure)
        throw *failure;
}

void createTables(const QString& dir, const std::vector<NewTable>& tables, FileSystem& fs)
{
    // A step left pending comes first, or the new list would take its place.
    if (fs.status(listPath(dir)).type != EntryType::Missing)
        finishReplacement(fs, dir);
    std::vector<Planned> planned;
    const auto plan = [&](const char* name, QByteArray image) {
        if (!findFile(dir, QString::fromLatin1(name), fs).isEmpty())
            throw StoreError(QStringLiteral("%1: Die Datei ist schon vorhanden. Es wurde nichts verändert.")
                                 .arg(QLatin1String(name)));
        planned.push_back({QDir(dir).filePath(QString::fromLatin1(name)), std::move(image), {}, {}});
    };
    for (const NewTable& table : tables) {
        TableFiles files = tableFiles(table.schema, table.rows);
        plan(table.schema.fileName, std::move(files.table));
        if (table.schema.indexFileName)
            plan(table.schema.indexFileName, std::move(files.index));
    }
    writeAndDecide(fs, dir, planned, {});
    completeDecided(fs, dir, planned, {}, {});
}

} // namespace store
