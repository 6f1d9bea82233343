// The table reader on arbitrary bytes: the first byte picks the table, the
// rest is its file.

#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const auto& tables = store::schema::all();
    const store::TableSchema& schema = *tables[data[0] % tables.size()];
    putFile(QString::fromLatin1(schema.fileName), reinterpret_cast<const char*>(data + 1), size - 1);
    if (schema.indexFileName)
        addFile(QString::fromLatin1(schema.indexFileName), QByteArray(1024, '\0'));
    openAndReadAll(schema);
    return 0;
}
