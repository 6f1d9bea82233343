// The markup of the help topic texts, without a window.

#include "help/rules/topicmarkup.h"

#include <gtest/gtest.h>

using help::LineKind;
using help::parseTopic;
using help::TopicLine;

namespace {

TopicLine heading(const char* text)
{
    return {LineKind::Heading, QString::fromUtf8(text)};
}
TopicLine paragraph(const char* text)
{
    return {LineKind::Paragraph, QString::fromUtf8(text)};
}
const TopicLine empty{LineKind::Empty, QString()};

} // namespace

TEST(TopicMarkup, EveryLineIsOneParagraphOfItsKind)
{
    const QList<TopicLine> expected{heading("Was ist \"Kelvara\" ?"), paragraph("Erster Absatz."), empty,
                                    heading("Tagesdatum"), paragraph("Zweiter Absatz.")};
    EXPECT_EQ(parseTopic(QString::fromUtf8("## Was ist \"Kelvara\" ?\nErster Absatz.\n\n## Tagesdatum\n"
                                           "Zweiter Absatz.\n")),
              expected);
}

TEST(TopicMarkup, TheEndOfTheTextAddsNoLine)
{
    EXPECT_EQ(parseTopic(QStringLiteral("Absatz.\n")), QList<TopicLine>{paragraph("Absatz.")});
    EXPECT_EQ(parseTopic(QStringLiteral("Absatz.")), QList<TopicLine>{paragraph("Absatz.")})
        << "a last line without its line end still counts";
    EXPECT_EQ(parseTopic(QStringLiteral("Absatz.\n\n")), (QList<TopicLine>{paragraph("Absatz."), empty}))
        << "a text ending in an empty line keeps it";
    EXPECT_TRUE(parseTopic(QString()).isEmpty());
    EXPECT_EQ(parseTopic(QStringLiteral("\n")), QList<TopicLine>{empty});
}

TEST(TopicMarkup, BlanksArePartOfTheText)
{
    EXPECT_EQ(parseTopic(QString::fromUtf8("dünn: ca. 80...90%  Normalgewicht\n")),
              QList<TopicLine>{paragraph("dünn: ca. 80...90%  Normalgewicht")});
    EXPECT_EQ(parseTopic(QStringLiteral("##  Zwei Blanks \n")), QList<TopicLine>{heading(" Zwei Blanks ")});
    EXPECT_EQ(parseTopic(QStringLiteral(" \n")), QList<TopicLine>{paragraph(" ")})
        << "a line of one blank is not an empty line";
}

TEST(TopicMarkup, OnlyHashHashBlankMarksAHeading)
{
    EXPECT_EQ(parseTopic(QStringLiteral("##Kein Titel\n# Kein Titel\n### Kein Titel\n ## Kein Titel\n")),
              (QList<TopicLine>{paragraph("##Kein Titel"), paragraph("# Kein Titel"),
                                paragraph("### Kein Titel"), paragraph(" ## Kein Titel")}));
    EXPECT_EQ(parseTopic(QStringLiteral("## \n")), QList<TopicLine>{heading("")});
}

TEST(TopicMarkup, WindowsLineEndsReadLikePlainOnes)
{
    EXPECT_EQ(parseTopic(QStringLiteral("## Titel\r\nAbsatz.\r\n\r\nNoch einer.\r\n")),
              (QList<TopicLine>{heading("Titel"), paragraph("Absatz."), empty, paragraph("Noch einer.")}));
}
