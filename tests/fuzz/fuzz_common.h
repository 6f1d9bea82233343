#pragma once

#include "store/create.h"
#include "store/error.h"
#include "store/table.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <unistd.h>

// A scratch diary folder for one fuzzing process.
inline QString fuzzFolder()
{
    static const QString dir = [] {
        const QString d = QDir::tempPath() + QStringLiteral("/kelvara-fuzz-%1").arg(::getpid());
        QDir().mkpath(d);
        return d;
    }();
    return dir;
}

inline void putFile(const QString& name, const char* data, size_t size)
{
    QFile file(QDir(fuzzFolder()).filePath(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(data, static_cast<qint64>(size));
}

// Opens the table and reads every field of every visible record; a damaged
// file may be refused, but nothing else may happen.
inline void openAndReadAll(const store::TableSchema& schema)
{
    store::Table table(schema);
    try {
        table.open(fuzzFolder());
        for (table.first(); !table.eof(); table.next()) {
            for (const store::FieldSpec& f : schema.fields) {
                table.fieldText(f.name);
                table.fieldDouble(f.name);
                table.fieldDate(f.name);
            }
        }
        table.setFiltered(true);
        table.locate(schema.fields[1].name, QStringLiteral("A"), {true, true});
    } catch (const store::StoreError&) {
    }
}
