#pragma once

#include "store/fileio.h"
#include "store/schema.h"
#include "store/value.h"

#include <vector>

namespace store {

// One record: its fields by name; fields it does not name are blank.
using Row = Fields;

// The bytes of a new table file of `schema` holding `rows`, dated today
// (store/clock.h), and for a catalogue those of its name index.
struct TableFiles
{
    QByteArray table;
    QByteArray index; // empty without a name index
};
TableFiles tableFiles(const TableSchema& schema, const std::vector<Row>& rows);

struct NewTable
{
    const TableSchema& schema;
    const std::vector<Row>& rows;
};

// Writes new table files, and the catalogues' name indexes, into `dir` all
// at once, as replaceTables puts new contents in place: each under a
// temporary name and synced, then decided by the list of renames and
// renamed into place. A crash at any instant leaves none of them at their
// names or, once the next Table::open (or finishReplacement) has finished
// the step, all of them. Refuses, writing nothing, when one of the files
// stands in `dir` already (in any letter case). Throws StoreError, or
// DeferredReplacement when the step was decided but the files could not be
// put in place: the next start completes it. Used to lay out a new diary;
// the program itself never creates a table.
void createTables(const QString& dir, const std::vector<NewTable>& tables,
                  FileSystem& fs = posixFileSystem());
// One table, as createTables writes it.
void createTable(const QString& dir, const TableSchema& schema, const std::vector<Row>& rows,
                 FileSystem& fs = posixFileSystem());

} // namespace store
