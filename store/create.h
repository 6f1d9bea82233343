#pragma once

#include "store/fileio.h"
#include "store/schema.h"
#include "store/value.h"

#include <vector>

namespace store {

using Row = std::vector<Value>;

// Writes a new table file `dir`/`schema.fileName` holding `rows` (values by
// declared position), and for a catalogue its name index. Refuses to touch
// an existing file. Used to lay out a new diary; the program itself never
// creates a table.
void createTable(const QString& dir, const TableSchema& schema, const std::vector<Row>& rows,
                 FileSystem& fs = posixFileSystem());

} // namespace store
