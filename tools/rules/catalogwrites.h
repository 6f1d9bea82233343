#pragma once

#include "store/table.h"

#include <QString>
#include <functional>
#include <vector>

// The writes of the catalogue editor on a catalogue table, through its
// current view (the category its filter passes). Each record is on the disk
// when its step returns; a failing step throws StoreError and leaves the
// table browsing, with every earlier step kept.
namespace catalogwrites {

// Whether a record of the view has `name` in `field` (exact, case-sensitive).
bool contains(store::Table& table, const char* field, const QString& name);

// Appends one record with the fields `values`.
void insertRow(store::Table& table, const store::Fields& values);

// Gives every record of the view named `from` the fields `values` (whose
// name is `to`); `posted` is called after each record. Returns their number.
int rewriteRows(store::Table& table, const char* field, const QString& from, const QString& to,
                const store::Fields& values, const std::function<void()>& posted);

// Deletes every record of the view named `name`; `deleted` is called after
// each. Returns their number. The file is not packed.
int deleteRows(store::Table& table, const char* field, const QString& name,
               const std::function<void()>& deleted);

} // namespace catalogwrites
