// Decimal fields read back as they are stored: the table layer converts a
// field's text to the nearest double (correctly rounded), so that the
// program shows "0,3" where the file holds 0.3, not 0.30000000000000004.

#include "diary/rules/numbers.h"
#include "install/installer.h"
#include "store/dbfformat.h"
#include "store/table.h"
#include "support/locale.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

using namespace store;

namespace {

// The shortest form of a decimal text, as the program shows the number:
// "12.0" is "12", "0.30" is "0.3", with `separator` for the point.
QString ownText(QString text, QChar separator)
{
    text.replace(u',', u'.');
    if (text.startsWith(u'+'))
        text.remove(0, 1);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    if (text.isEmpty() || text == u"-")
        text = QStringLiteral("0");
    if (text.startsWith(u'.'))
        text.prepend(u'0');
    if (text.startsWith(QStringLiteral("-.")))
        text.insert(1, u'0');
    if (text == u"-0")
        text = QStringLiteral("0");
    return text.replace(u'.', separator);
}

} // namespace

TEST(Decimals, AFieldsTextReadsAsTheNearestDouble)
{
    const struct
    {
        const char* field;
        bool ok;
        double value;
    } cases[] = {
        {"   0.3", true, 0.3},      {"  99.9", true, 99.9}, {"  -0.1", true, -0.1},
        {"  +2.5", true, 2.5},      {"   0,7", true, 0.7}, // another writer's decimal comma
        {"    1.", true, 1.0},      {"    .5", true, 0.5},  {"123.45", true, 123.45},
        {"999999", true, 999999.0}, {"      ", true, 0.0}, // empty reads as 0
        {"  1.2.", false, 0.0},     {"   - 1", false, 0.0}, {"     -", false, 0.0},
        {"   1e5", false, 0.0},     {"  0x10", false, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        double value = -1;
        EXPECT_EQ(dbf::parseNumber(c.field, static_cast<int>(std::strlen(c.field)), value), c.ok);
        if (c.ok)
            EXPECT_EQ(value, c.value) << "exactly the double nearest to the text";
        EXPECT_EQ(dbf::numberWellFormed(c.field, static_cast<int>(std::strlen(c.field))), c.ok);
    }
}

// Every decimal field of the demo diary (weights, amounts, nutrients): read
// and shown, it is the field's own text, with the locale's separator.
TEST(Decimals, EveryNumberOfTheDemoDiaryShowsAsItsText)
{
    QTemporaryDir dir;
    install::layOutDiary(dir.path(), install::Content::Demo);
    for (const QLocale& locale : {QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::English)}) {
        const testing_support::LocaleScope scope(locale);
        int decimals = 0;
        for (const TableSchema* s : schema::all()) {
            Table table(*s);
            table.open(dir.path());
            table.setFiltered(false);
            for (table.first(); !table.eof(); table.next()) {
                for (const FieldSpec& f : s->fields) {
                    if (f.type != FieldType::Numeric || f.decimals == 0)
                        continue;
                    ++decimals;
                    const QString text = table.fieldText(f.name);
                    ASSERT_EQ(numbers::shortest(table.fieldDouble(f.name)),
                              ownText(text, locale.decimalPoint().front()))
                        << s->fileName << " " << f.name << " \"" << text.toStdString() << "\"";
                }
            }
        }
        EXPECT_GT(decimals, 50000);
    }
}
