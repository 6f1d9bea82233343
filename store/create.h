#pragma once

#include "store/fileio.h"
#include "store/schema.h"
#include "store/value.h"

#include <vector>

namespace store {

// One record: its fields by name; fields it does not name are blank.
using Row = Fields;

// Writes a new table file `dir`/`schema.fileName` holding `rows`, and for a
// catalogue its name index. Refuses to touch
// an existing file. Used to lay out a new diary; the program itself never
// creates a table.
void createTable(const QString& dir, const TableSchema& schema, const std::vector<Row>& rows,
                 FileSystem& fs = posixFileSystem());

} // namespace store
