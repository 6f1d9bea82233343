#include "store/create.h"

#include "store/clock.h"
#include "store/dbfformat.h"
#include "store/ndxformat.h"

#include <algorithm>
#include <cstring>

namespace store {

TableFiles tableFiles(const TableSchema& schema, const std::vector<Row>& rows)
{
    const QString fileName = QString::fromLatin1(schema.fileName);
    TableFiles files;
    files.table =
        dbf::buildHeader(schema.fields, static_cast<quint32>(rows.size()), today(), schema.declaredCodePage);
    std::vector<QByteArray> records;
    records.reserve(rows.size());
    for (const Row& row : rows)
        records.push_back(dbf::encodeRecord(schema.fields, row, fileName));
    for (const QByteArray& record : records)
        files.table += record;
    files.table.append(dbf::kEndOfFile);

    if (!schema.indexFileName)
        return files;
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
    files.index = ndx::build(QByteArray(schema.indexField), width, entries);
    return files;
}

void createTable(const QString& dir, const TableSchema& schema, const std::vector<Row>& rows, FileSystem& fs)
{
    createTables(dir, {{schema, rows}}, fs);
}

} // namespace store
