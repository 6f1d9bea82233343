#include "store/error.h"
#include "store/table.h"

#include <QDir>
#include <QFileInfo>

namespace store {
namespace {

// The list of pending renames. It is written under a temporary name and
// renamed into place: its appearance is the instant at which the new files
// are decided on; until then a crash leaves the old files.
const QString kListName = QStringLiteral("ZEB_NEU.LST");
const QString kNewSuffix = QStringLiteral(".neu");

QString listPath(const QString& dir)
{
    return QDir(dir).filePath(kListName);
}

// One line per file: the new file's name, a tab, the name it replaces.
struct Rename
{
    QString from;
    QString to;
};

QByteArray encodeList(const std::vector<Rename>& renames)
{
    QByteArray text;
    for (const Rename& r : renames)
        text += QFileInfo(r.from).fileName().toUtf8() + '\t' + QFileInfo(r.to).fileName().toUtf8() + '\n';
    return text;
}

std::vector<Rename> decodeList(const QByteArray& text, const QString& dir)
{
    std::vector<Rename> renames;
    const QDir directory(dir);
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> parts = line.split('\t');
        if (parts.size() != 2 || parts[0].isEmpty() || parts[1].isEmpty())
            continue;
        renames.push_back({directory.filePath(QString::fromUtf8(parts[0])),
                           directory.filePath(QString::fromUtf8(parts[1]))});
    }
    return renames;
}

void removeQuietly(FileSystem& fs, const QString& path)
{
    try {
        fs.remove(path);
    } catch (const StoreError&) {
    }
}

void writeFile(FileSystem& fs, const QString& path, const QByteArray& bytes)
{
    auto file = fs.create(path, true);
    file->writeAt(0, bytes.constData(), bytes.size());
    file->sync();
}

} // namespace

void finishReplacement(FileSystem& fs, const QString& dir)
{
    const QString list = listPath(dir);
    if (QFileInfo::exists(list)) {
        const std::vector<Rename> renames = decodeList(fs.open(list, false)->readAll(), dir);
        for (const Rename& r : renames) {
            // A new file that is gone has been renamed already.
            if (QFileInfo::exists(r.from))
                fs.rename(r.from, r.to);
        }
        fs.syncDirectory(dir);
        fs.remove(list);
        fs.syncDirectory(dir);
        return;
    }
    // Without the list the new files were never decided on.
    const QStringList leftovers =
        QDir(dir).entryList({QStringLiteral("*") + kNewSuffix}, QDir::Files | QDir::Hidden);
    for (const QString& name : leftovers) {
        const QString base = name.chopped(kNewSuffix.size());
        bool ours = base.compare(kListName, Qt::CaseInsensitive) == 0;
        for (const char* diaryName : schema::diaryFileNames())
            ours = ours || base.compare(QLatin1String(diaryName), Qt::CaseInsensitive) == 0;
        if (ours)
            fs.remove(QDir(dir).filePath(name));
    }
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

    std::vector<Rename> renames;
    for (TableDraft* d : changed)
        renames.push_back({d->table().path() + kNewSuffix, d->table().path()});

    bool decided = false;
    try {
        for (size_t i = 0; i < changed.size(); ++i)
            writeFile(fs, renames[i].from, changed[i]->image());
        writeFile(fs, list + kNewSuffix, encodeList(renames));
        fs.syncDirectory(dir);
        fs.rename(list + kNewSuffix, list);
        decided = true;
        fs.syncDirectory(dir);
        for (const Rename& r : renames)
            fs.rename(r.from, r.to);
        fs.syncDirectory(dir);
        fs.remove(list);
        fs.syncDirectory(dir);
    } catch (const StoreError&) {
        if (!decided) {
            for (const Rename& r : renames)
                removeQuietly(fs, r.from);
            removeQuietly(fs, list + kNewSuffix);
            throw;
        }
        // Decided: the new files must come into place before any table
        // writes again, or its writes would go to a file no longer in use.
        // Until then the tables are closed, and the next open finishes it.
        bool finished = false;
        try {
            finishReplacement(fs, dir);
            finished = true;
        } catch (const StoreError&) {
        }
        for (TableDraft* d : changed) {
            try {
                if (!finished)
                    throw StoreError(QString());
                d->table().reopen();
            } catch (const StoreError&) {
                d->table().close();
            }
        }
        throw;
    }
    for (TableDraft* d : changed)
        d->table().reopen();
}

} // namespace store
