// The rules of a day typed into the day selector.

#include "diary/rules/daytext.h"

#include <gtest/gtest.h>

using namespace daytext;

namespace {

const Layout kGerman = layoutOf(QStringLiteral("dd.MM.yyyy"));
const Layout kAmerican = layoutOf(QStringLiteral("M/d/yyyy"));

} // namespace

TEST(DayText, TheLayoutFollowsTheDisplayFormat)
{
    EXPECT_EQ(kGerman.order, "dMy");
    EXPECT_EQ(kGerman.separator, u'.');
    EXPECT_EQ(kAmerican.order, "Mdy");
    EXPECT_EQ(kAmerican.separator, u'/');
    EXPECT_EQ(layoutOf("yyyy-MM-dd").order, "yMd");
    EXPECT_EQ(layoutOf("yyyy-MM-dd").separator, u'-');
    EXPECT_EQ(typableFormat("d MMM yyyy"), "d MM yyyy") << "a month by name is typed by number";
    EXPECT_EQ(typableFormat("dd.MM.yyyy"), "dd.MM.yyyy");
    EXPECT_EQ(layoutOf(typableFormat("d MMM yyyy")).separator, u' ');
}

TEST(DayText, AWholeDayNeedsThreePartsThatMakeACalendarDay)
{
    EXPECT_EQ(dayOf(kGerman, "27.12.2012"), QDate(2012, 12, 27));
    EXPECT_EQ(dayOf(kGerman, "3.7.2005"), QDate(2005, 7, 3));
    EXPECT_EQ(dayOf(kGerman, "29.02.2012"), QDate(2012, 2, 29));
    EXPECT_EQ(dayOf(kGerman, "01.03.2013"), QDate(2013, 3, 1)) << "outside the diary is still a day";
    EXPECT_EQ(dayOf(kAmerican, "12/27/2012"), QDate(2012, 12, 27));
    for (const char* notADay : {"29.02.2011", "31.11.2012", "27.12.12", "27.12.", "27.12", "", "27.12.2012.",
                                "027.12.2012", "27.13.2012", "00.12.2012", "27,12,2012", "2 7.12.2012", "x"})
        EXPECT_EQ(dayOf(kGerman, notADay).message(),
                  QStringLiteral("\"%1\" ist kein gültiges Datum.").arg(notADay))
            << notADay;
}

TEST(DayText, BeginningsCanStillBecomeADay)
{
    for (const char* beginning : {"", "2", "27", "27.", "27.1", "27.12.", "27.12.2", "0", "3.", "27.12.2012"})
        EXPECT_TRUE(isBeginning(kGerman, beginning)) << beginning;
    for (const char* no : {"45", "27..", ".12", "27.13", "27.12.20123", "27.12.2012.", "a", "27.1x", "€"})
        EXPECT_FALSE(isBeginning(kGerman, no)) << no;
    EXPECT_TRUE(isEditable(kGerman, "2912.2012")) << "a deleted separator can be typed again";
    EXPECT_TRUE(isEditable(kGerman, "29.2012"));
    EXPECT_TRUE(isEditable(kGerman, ".."));
    EXPECT_FALSE(isEditable(kGerman, "29.12.2012x"));
    EXPECT_FALSE(isEditable(kGerman, "1.2.3.4"));
}

TEST(DayText, TheCursorIsInThePartWhoseDigitsItTouches)
{
    const QString text = "29.12.2012";
    const int expected[] = {0, 0, 0, 1, 1, 1, 2, 2, 2, 2, 2};
    for (int cursor = 0; cursor <= 10; ++cursor)
        EXPECT_EQ(partAt(kGerman, text, cursor), expected[cursor]) << cursor;
    EXPECT_EQ(partAt(kGerman, "27.1", 3), -1);
    EXPECT_EQ(partStart(kGerman, text, 1), 3);
    EXPECT_EQ(partEnd(kGerman, text, 1), 5);
    EXPECT_EQ(partEnd(kGerman, text, 2), 10);
}

TEST(DayText, DigitsTypedIntoAPartReplaceIt)
{
    auto type = [](const QString& text, int part, const QString& digits, QChar digit) {
        const auto typed = typeDigit(kGerman, text, part, digits, digit);
        return typed ? QStringLiteral("%1|%2|%3|%4")
                           .arg(typed->text)
                           .arg(typed->cursor)
                           .arg(typed->part)
                           .arg(typed->digits)
                     : QStringLiteral("refused");
    };
    EXPECT_EQ(type("29.12.2012", 0, "", u'2'), "2.12.2012|1|0|2");
    EXPECT_EQ(type("2.12.2012", 0, "2", u'3'), "23.12.2012|3|1|") << "a full day goes on to the month";
    EXPECT_EQ(type("29.12.2012", 0, "", u'5'), "5.12.2012|2|1|") << "no day begins with 5 and a second digit";
    EXPECT_EQ(type("29.12.2012", 0, "3", u'5'), "refused");
    EXPECT_EQ(type("29.12.2012", 0, "0", u'0'), "refused");
    EXPECT_EQ(type("29.12.2012", 1, "", u'1'), "29.1.2012|4|1|1");
    EXPECT_EQ(type("29.1.2012", 1, "1", u'3'), "refused");
    EXPECT_EQ(type("29.12.2012", 1, "", u'3'), "29.3.2012|5|2|");
    EXPECT_EQ(type("29.12.2012", 2, "", u'2'), "29.12.2|7|2|2");
    EXPECT_EQ(type("29.12.201", 2, "201", u'3'), "29.12.2013|10|2|2013") << "the year is the last part";
    EXPECT_EQ(type("29.12.2013", 2, "2013", u'1'), "refused");
    EXPECT_EQ(type("27.1", 0, "", u'1'), "refused") << "only into a whole day's text";
}
