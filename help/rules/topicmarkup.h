#pragma once

#include <QDate>
#include <QList>
#include <QString>

// The markup of the help topic texts (help/topics/README.md): one line of a
// file is one paragraph of the help window.
namespace help {

enum class LineKind {
    Heading,   // "## " and the heading text: shown bold
    Paragraph, // any other non-empty line: shown regular, wrapped by the box
    Empty      // an empty line
};

struct TopicLine
{
    LineKind kind;
    QString text; // without the "## " of a heading; empty for an empty line

    friend bool operator==(const TopicLine&, const TopicLine&) = default;
};

// Splits a topic text into its lines, in order. Lines end with "\n" (a
// "\r\n" counts the same); the "\n" after the last line ends it and adds no
// empty line, so a text ending in "\n\n" ends with one empty line, and a last
// line without "\n" still counts. Blanks inside and at the ends of a line are
// kept: they are part of what the window shows.
QList<TopicLine> parseTopic(const QString& text);

// The text with the days of the open diary put in: "{erster Tag}" and
// "{letzter Tag}" become `first` and `last` in the locale's short date
// format (empty for no date).
QString withDiaryDays(QString text, QDate first, QDate last);

} // namespace help
