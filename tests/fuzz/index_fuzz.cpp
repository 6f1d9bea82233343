// The index reader on arbitrary bytes, beside a sound food catalogue.

#include "fuzz_common.h"

#include <QTemporaryDir>

namespace {

// The sound catalogue, laid out once on the disk and then kept in memory.
const QByteArray& catalogue()
{
    static const QByteArray bytes = [] {
        QTemporaryDir dir;
        std::vector<store::Row> rows;
        // Thirteen entries: one more than a leaf page holds, so the index
        // has an inner node.
        for (int i = 0; i < 13; ++i)
            rows.push_back({{"NRGKAT", qint64(i % 3 + 1)},
                            {"NRGNAME", QStringLiteral("Eintrag %1").arg((i * 7) % 13)},
                            {"NRGME", qint64(1)},
                            {"NRGENERGIE", qint64(i)}});
        store::createTable(dir.path(), store::schema::nrg(), rows);
        QFile file(QDir(dir.path()).filePath(QString::fromLatin1(store::schema::nrg().fileName)));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray& table = catalogue();
    putFile(QStringLiteral("NRGNAME.NDX"), reinterpret_cast<const char*>(data), size);
    addFile(QString::fromLatin1(store::schema::nrg().fileName), table);
    openAndReadAll(store::schema::nrg(), false);
    return 0;
}
