#pragma once

#include <QDate>
#include <QString>
#include <variant>

namespace store {

// The mark for a field that an assignment by position leaves as it is.
struct Unchanged
{
};

// A field value as the program hands it to a table.
using Value = std::variant<Unchanged, qint64, double, QString, QDate>;

} // namespace store
