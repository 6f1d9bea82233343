#include "tools/rules/catalogwrites.h"

namespace catalogwrites {

bool contains(store::Table& table, const char* field, const QString& name)
{
    for (table.first(); !table.eof(); table.next()) {
        if (table.fieldText(field) == name)
            return true;
    }
    return false;
}

void insertRow(store::Table& table, const store::Fields& values)
{
    table.insert();
    table.postFields(values);
}

int rewriteRows(store::Table& table, const char* field, const QString& from, const QString& to,
                const store::Fields& values, const std::function<void()>& posted)
{
    int count = 0;
    const auto rewrite = [&] {
        table.edit();
        table.postFields(values);
        ++count;
        posted();
    };
    if (from == to) {
        // The name and so the visiting order stay: one walk reaches them all.
        for (table.first(); !table.eof(); table.next()) {
            if (table.fieldText(field) == from)
                rewrite();
        }
    } else {
        // A renamed record moves in the name order; the next one is looked
        // up afresh each time.
        while (table.locate(field, from))
            rewrite();
    }
    return count;
}

int deleteRows(store::Table& table, const char* field, const QString& name,
               const std::function<void()>& deleted)
{
    int count = 0;
    while (table.locate(field, name)) {
        table.deleteRecord();
        ++count;
        deleted();
    }
    return count;
}

} // namespace catalogwrites
