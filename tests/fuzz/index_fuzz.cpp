// The index reader on arbitrary bytes, beside a sound food catalogue.

#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QDir(fuzzFolder()).removeRecursively();
    QDir().mkpath(fuzzFolder());
    std::vector<store::Row> rows;
    for (int i = 0; i < 40; ++i)
        rows.push_back({qint64(i % 3 + 1), QStringLiteral("Eintrag %1").arg((i * 7) % 40), qint64(1), qint64(i)});
    try {
        store::createTable(fuzzFolder(), store::schema::nrg(), rows);
    } catch (const store::StoreError&) {
        return 0;
    }
    putFile(QStringLiteral("NRGNAME.NDX"), reinterpret_cast<const char*>(data), size);
    openAndReadAll(store::schema::nrg());
    return 0;
}
