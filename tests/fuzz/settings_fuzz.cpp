// The settings and notes paths of the program on arbitrary bytes: the first
// byte picks the settings table or the notes table, the rest is its file.
// The file is read as the program reads it at start-up, written back as the
// program writes it, and read once more.

#include "fuzz_common.h"

#include "diary/rules/notetext.h"
#include "diary/rules/settings.h"

namespace {

void settingsRoundTrip()
{
    store::Table reg(store::schema::reg(), memoryFiles());
    try {
        reg.open(fuzzFolder());
        reg.first();
        Settings settings;
        try {
            settings = readSettings(reg);
        } catch (const store::StoreError&) {
        }
        reg.edit();
        writeSettings(reg, settings);
        reg.post();
        reg.close();
        reg.open(fuzzFolder());
        readSettings(reg);
    } catch (const store::StoreError&) {
    }
}

void notesRoundTrip()
{
    store::Table xtb(store::schema::xtb(), memoryFiles());
    try {
        xtb.open(fuzzFolder());
        QString last;
        QDate lastDay;
        for (xtb.first(); !xtb.eof(); xtb.next()) {
            QStringList parts;
            for (int n = 1; n <= notetext::kParts; ++n)
                parts << xtb.fieldText(QStringLiteral("XTBTEXT%1").arg(n).toLatin1().constData());
            last = notetext::editorForm(notetext::join(parts));
            lastDay = xtb.fieldDate("XTBDATUM");
            notetext::excerpt(last, static_cast<int>(last.size() / 2));
        }
        if (!lastDay.isValid())
            lastDay = QDate(2005, 3, 1);
        const QString stored = notetext::storedForm(last + QStringLiteral(" äöü"));
        store::Fields values{{"XTBDATUM", lastDay}, {"XTBKAT", qint64(0)}};
        const QStringList parts = notetext::split(stored.left(notetext::kMaxLength));
        for (int i = 0; i < notetext::kParts; ++i)
            values.push_back({notetext::kPartFields[i], parts[i]});
        if (xtb.locate("XTBDATUM", lastDay))
            xtb.edit();
        else
            xtb.insert();
        xtb.postFields(values);
        xtb.close();
        xtb.open(fuzzFolder());
    } catch (const store::StoreError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const bool settings = data[0] % 2 == 0;
    const store::TableSchema& schema = settings ? store::schema::reg() : store::schema::xtb();
    putFile(QString::fromLatin1(schema.fileName), reinterpret_cast<const char*>(data + 1), size - 1);
    if (settings)
        settingsRoundTrip();
    else
        notesRoundTrip();
    return 0;
}
