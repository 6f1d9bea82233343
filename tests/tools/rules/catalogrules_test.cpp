// The rules of the catalogue editor on plain values.

#include "diary/rules/numbers.h"
#include "tools/rules/catalogrules.h"

#include <gtest/gtest.h>

using namespace catalogrules;

TEST(CatalogueCategories, ItemsMapToTheirCataloguesAndCodes)
{
    EXPECT_EQ(categoryText(0), "Nahrung: Getränke");
    EXPECT_EQ(categoryText(8), "Nahrung: Öl,Fett,Soßen");
    EXPECT_EQ(categoryText(15), "Nahrung: Favoriten");
    EXPECT_EQ(categoryText(16), "Aktivität: Haus+Garten");
    EXPECT_EQ(categoryText(23), "Aktivität: Sonst. Aktivität");
    EXPECT_EQ(categoryText(24), "");
    EXPECT_FALSE(isActivityItem(-1)) << "no selection is a food category";
    EXPECT_EQ(categoryCode(-1), 0);
    EXPECT_EQ(categoryCode(0), 1);
    EXPECT_EQ(categoryCode(15), 16);
    EXPECT_TRUE(isActivityItem(16));
    EXPECT_EQ(categoryCode(16), 2);
    EXPECT_EQ(categoryCode(23), 9);
}

TEST(CatalogueCategories, PreselectionFollowsTheMainWindowsFolder)
{
    EXPECT_EQ(categoryText(preselectedItem(1, 5, 7)), "Nahrung: Brot+Getreide");
    EXPECT_EQ(categoryText(preselectedItem(3, 16, 7)), "Nahrung: Favoriten");
    EXPECT_EQ(categoryText(preselectedItem(4, 5, 7)), "Aktivität: Wasser");
    EXPECT_EQ(categoryText(preselectedItem(4, 5, 2)), "Aktivität: Haus+Garten");
    EXPECT_EQ(categoryText(preselectedItem(4, 5, 9)), "Aktivität: Sonst. Aktivität");
    // The built-in daily list has no item of its own: the first activity.
    EXPECT_EQ(categoryText(preselectedItem(4, 5, 0)), "Aktivität: Haus+Garten");
    EXPECT_EQ(categoryText(preselectedItem(4, 5, 1)), "Aktivität: Haus+Garten");
}

TEST(CatalogueNames, ReservedNamesAreRefusedExactly)
{
    EXPECT_TRUE(isReservedName("Keine Einträge vorhanden ! "));
    EXPECT_TRUE(isReservedName("Keine Einträge vorhanden !")) << "the file keeps no trailing blank";
    EXPECT_FALSE(isReservedName("Keine Einträge vorhanden"));
    EXPECT_TRUE(isReservedName("Tageszusammenfassung"));
    EXPECT_FALSE(isReservedName("tageszusammenfassung"));
    EXPECT_FALSE(isReservedName("Tageszusammenfassung 2"));
    EXPECT_TRUE(isReservedName("Lückenfüller"));
    EXPECT_TRUE(isReservedName("Lückenfüller "));
    EXPECT_FALSE(isReservedName(" Lückenfüller"));
    EXPECT_TRUE(isReservedName("Grund- und Arbeit"));
    EXPECT_TRUE(isReservedName("Grund- und Arbeitsumsatz"));
    EXPECT_FALSE(isReservedName("Grund- und arbeit"));
    EXPECT_FALSE(isReservedName("Grund- und Arbei"));
}

TEST(CatalogueNames, ChangeRefusesExactlyWhatInsertRefusesButKeepsAnEntrysOwnName)
{
    const QString senseless = QStringLiteral("Das ist kein sinnvoller Text. Daten werden nicht %1 !");
    const QString placeholder =
        QStringLiteral("Text \"Keine Einträge vorhanden !\" nicht sinnvoll. Daten werden nicht eingefügt !");
    const struct
    {
        const char* name;
        QString insert; // empty: accepted
        QString change;
        QString keep; // the change of an entry that already has the name
    } cases[] = {
        {"", "Nichts zum Einfügen gefunden !", "Textfeld leer. Kein Ändern möglich !",
         "Textfeld leer. Kein Ändern möglich !"},
        {"Keine Einträge vorhanden !", senseless.arg("eingefügt"), placeholder, placeholder},
        {"Tageszusammenfassung", senseless.arg("eingefügt"), senseless.arg("geändert"), {}},
        {"Lückenfüller", senseless.arg("eingefügt"), senseless.arg("geändert"), {}},
        {"Grund- und Arbeitsumsatz 130%", senseless.arg("eingefügt"), senseless.arg("geändert"), {}},
        {"Grund- und Arbeit", senseless.arg("eingefügt"), senseless.arg("geändert"), {}},
        {"Keine Einträge", {}, {}, {}},
        {"Tageszusammenfassung Mai", {}, {}, {}},
        {"grund- und Arbeit", {}, {}, {}},
        {"Altbier", {}, {}, {}},
    };
    for (const auto& c : cases) {
        const QString name = QString::fromUtf8(c.name);
        EXPECT_EQ(checkName(name, false).message(), c.insert) << c.name;
        EXPECT_EQ(checkName(name, true, QStringLiteral("Altbier")).message(), c.change) << c.name;
        EXPECT_EQ(checkName(name, true, name + u' ').message(), c.keep) << c.name;
    }
}

TEST(CatalogueKeys, AboveNineHundredNinetyNineBecomesZero)
{
    const QChar comma(u',');
    EXPECT_EQ(cappedAt999("999", comma), "999");
    EXPECT_EQ(cappedAt999("999,9", comma), "0");
    EXPECT_EQ(cappedAt999("999,04", comma), "0") << "compared exactly, not rounded";
    EXPECT_EQ(cappedAt999("999,00", comma), "999,00");
    EXPECT_EQ(cappedAt999("0999", comma), "0999");
    EXPECT_EQ(cappedAt999("1000", comma), "0");
    EXPECT_EQ(cappedAt999("12a", comma), "12a") << "not a number: left alone";
    EXPECT_EQ(cappedAt999("", comma), "");
}

TEST(CatalogueNumbers, TenthsAreRoundedExactlyWithHalvesToEven)
{
    const QChar comma(u',');
    EXPECT_EQ(tenths("12", comma), 120);
    EXPECT_EQ(tenths("12,", comma), 120);
    EXPECT_EQ(tenths(",5", comma), 5);
    EXPECT_EQ(tenths("12,3", comma), 123);
    EXPECT_EQ(tenths("12,35", comma), 124);
    EXPECT_EQ(tenths("12,25", comma), 122);
    EXPECT_EQ(tenths("12,251", comma), 123);
    EXPECT_EQ(tenths("12,349", comma), 123);
    EXPECT_EQ(tenths("0,05", comma), 0);
    EXPECT_EQ(tenths("0,15", comma), 2);
    EXPECT_FALSE(tenths("", comma));
    EXPECT_FALSE(tenths(",", comma));
    EXPECT_FALSE(tenths("12.3", comma)) << "only the system's separator";
    EXPECT_FALSE(tenths("1,2,3", comma));
    EXPECT_FALSE(tenths("-1", comma));
    EXPECT_FALSE(tenths(" 1", comma));
    EXPECT_FALSE(tenths("1e3", comma));
    EXPECT_FALSE(tenths("１２", comma)) << "full-width digits are not read";
    EXPECT_EQ(wholeNumber("00123"), 123);
    EXPECT_FALSE(wholeNumber(""));
    EXPECT_FALSE(wholeNumber("12,5"));
    EXPECT_FALSE(wholeNumber("+5"));
}

TEST(CatalogueNumbers, KcalInputIsStoredAsExactlyRoundedKj)
{
    EXPECT_EQ(units::kjFromKcal(24), 100) << "24 x 4.1868 = 100.4832";
    EXPECT_EQ(units::kjFromKcal(0), 0);
    EXPECT_EQ(units::kjFromKcal(1), 4);
    // 4.1868 x 625 = 2616.75, x 1250 = 5233.5 (a half, 3 odd: up), x 3750 =
    // 15700.5 (a half, 0 even: down).
    EXPECT_EQ(units::kjFromKcal(625), 2617);
    EXPECT_EQ(units::kjFromKcal(1250), 5234);
    EXPECT_EQ(units::kjFromKcal(3750), 15700);
    EXPECT_EQ(units::kjFromKcal(23884), 99998);
    EXPECT_EQ(units::kjFromKcal(23885), 100002);
    EXPECT_EQ(units::kcalShown(100), 24);
}

namespace {

Fields food(const char* energy, const char* protein = "0", const char* carbohydrate = "0",
            const char* fat = "0")
{
    return Fields{"Apfel", energy, protein, carbohydrate, fat, 0};
}

const QString kRefusal = QStringLiteral("Daten werden nicht eingefügt !");

} // namespace

TEST(CatalogueRows, ValidFieldsGiveTheStoredRow)
{
    const Checked c = checkFields(food("218", "0,3", "11,4", "0,35"), false, false, u',', kRefusal);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->energyKj, 218);
    EXPECT_EQ(c->proteinTenths, 3);
    EXPECT_EQ(c->carbohydrateTenths, 114);
    EXPECT_EQ(c->fatTenths, 4);
    const Checked kcal = checkFields(food("24"), false, true, u',', kRefusal);
    ASSERT_TRUE(kcal);
    EXPECT_EQ(kcal->energyKj, 100);
}

TEST(CatalogueRows, FieldsOutsideTheirRangeAreRefusedByName)
{
    Checked c = checkFields(food("12a"), false, false, u',', kRefusal);
    EXPECT_FALSE(c);
    EXPECT_EQ(c.message(), "Im Feld \"Energie\" steht \"12a\". Erlaubt ist eine Zahl von 0 bis 99999.\r"
                           "Daten werden nicht eingefügt !");
    c = checkFields(food("100", "1", "x"), false, false, u',', kRefusal);
    EXPECT_FALSE(c);
    EXPECT_TRUE(c.message().startsWith("Im Feld \"Kohlenh.\" steht \"x\"."));
    c = checkFields(food("100", "1", "1", "1000"), false, false, u',', kRefusal);
    EXPECT_TRUE(c.message().startsWith("Im Feld \"Fett\" steht \"1000\"."));
    c = checkFields(food("100", "-1"), false, false, u',', kRefusal);
    EXPECT_TRUE(c.message().startsWith("Im Feld \"Protein\""));
    // Nutrients of an activity are not read.
    EXPECT_TRUE(checkFields(food("100", "x"), true, false, u',', kRefusal).ok());
}

TEST(CatalogueRows, EnergyBeyondTheFiveDigitFieldIsRefused)
{
    EXPECT_TRUE(checkFields(food("99999"), false, false, u',', kRefusal).ok());
    EXPECT_TRUE(checkFields(food("23884"), false, true, u',', kRefusal).ok());
    const Checked c = checkFields(food("99999"), false, true, u',', kRefusal);
    EXPECT_FALSE(c);
    EXPECT_EQ(c.message(), "99999 kcal sind 418676 kJ. Das Feld \"Energie\" fasst höchstens 99999 kJ.\r"
                           "Daten werden nicht eingefügt !");
    EXPECT_FALSE(checkFields(food("100000"), false, false, u',', kRefusal).ok());
}
