#pragma once

#include <QDate>
#include <QString>
#include <variant>
#include <vector>

namespace store {

// A field value as the program hands it to a table.
using Value = std::variant<qint64, double, QString, QDate>;

// A field named as its table declares it, and the value to write into it.
struct FieldValue
{
    const char* name;
    Value value;
};

// The fields a write sets, by name; every other field keeps its value (or
// stays blank in a new record).
using Fields = std::vector<FieldValue>;

} // namespace store
