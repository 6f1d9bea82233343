#include "store/create.h"

#include "store/dbfformat.h"
#include "store/ndxformat.h"

#include <QDir>

#include <algorithm>
#include <cstring>

namespace store {
namespace {

void writeNew(FileSystem& fs, const QString& path, const QByteArray& image)
{
    auto file = fs.create(path);
    file->writeAt(0, image.constData(), image.size());
    file->sync();
}

} // namespace

void createTable(const QString& dir, const TableSchema& schema, const std::vector<Row>& rows, FileSystem& fs)
{
    const QString fileName = QString::fromLatin1(schema.fileName);
    QByteArray image = dbf::buildHeader(schema.fields, static_cast<quint32>(rows.size()),
                                        QDate::currentDate(), schema.declaredCodePage);
    std::vector<QByteArray> records;
    records.reserve(rows.size());
    for (const Row& row : rows)
        records.push_back(dbf::encodeRecord(schema.fields, row, fileName));
    for (const QByteArray& record : records)
        image += record;
    image.append(dbf::kEndOfFile);
    writeNew(fs, QDir(dir).filePath(fileName), image);

    if (!schema.indexFileName)
        return;
    const int key = schema.fieldPosition(schema.indexField);
    int offset = 1;
    for (int i = 0; i < key; ++i)
        offset += schema.fields[i].width;
    const int width = schema.fields[key].width;
    std::vector<ndx::Entry> entries;
    for (size_t i = 0; i < records.size(); ++i)
        entries.push_back({records[i].mid(offset, width), static_cast<quint32>(i + 1)});
    std::stable_sort(entries.begin(), entries.end(), [width](const ndx::Entry& a, const ndx::Entry& b) {
        return std::memcmp(a.key.constData(), b.key.constData(), width) < 0;
    });
    writeNew(fs, QDir(dir).filePath(QString::fromLatin1(schema.indexFileName)),
             ndx::build(QByteArray(schema.indexField), width, entries));
}

} // namespace store
