// What a one-line field stores of the text a user enters.

#include "store/codepage.h"

#include <gtest/gtest.h>

using store::CodePage;
using store::fitToLine;

TEST(CodePage, ALineLosesItsControlCharactersAndKeepsBlanksAsBlanks)
{
    const struct
    {
        QString entered;
        QString stored;
    } cases[] = {
        {QStringLiteral("Altbier\n"), QStringLiteral("Altbier")},
        {QStringLiteral("Altbier\r\n"), QStringLiteral("Altbier")},
        {QStringLiteral("Altbier\t"), QStringLiteral("Altbier")},
        {QStringLiteral("Alt\tbier"), QStringLiteral("Altbier")},
        {QStringLiteral("Altbier\u00a0"), QStringLiteral("Altbier ")},
        {QStringLiteral("Brot\u202fmit\u2007Butter"), QStringLiteral("Brot mit Butter")},
        {QStringLiteral("a\u2028b\u2029c\u0085d\u007fe\u0001f\u001bg"), QStringLiteral("abcdefg")},
        {QStringLiteral("„9 €“\n"), QStringLiteral("\"9 EUR\"")},
        {QStringLiteral("Käse, Öl, Grüße ½"), QStringLiteral("Käse, Öl, Grüße ½")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fitToLine(c.entered, CodePage::Cp850), c.stored) << c.entered.toStdString();
        QByteArray bytes;
        EXPECT_TRUE(store::encode(c.stored, CodePage::Cp850, bytes));
        for (char b : bytes)
            EXPECT_FALSE(static_cast<unsigned char>(b) < 0x20 || b == 0x7f) << c.entered.toStdString();
    }
    EXPECT_EQ(fitToLine(QStringLiteral("„9 €“\t"), CodePage::Cp1252), QStringLiteral("„9 €“"));
}
