#include "help/rules/topicmarkup.h"

#include "diary/rules/numbers.h"

#include <QLocale>

namespace help {

QList<TopicLine> parseTopic(const QString& text)
{
    QList<TopicLine> lines;
    const QLatin1String headingMark("## ");
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        QString line = text.mid(start, end - start);
        // A text saved by an editor with Windows line ends must not gain a
        // stray character at the end of every paragraph.
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty())
            lines.append({LineKind::Empty, QString()});
        else if (line.startsWith(headingMark))
            lines.append({LineKind::Heading, line.mid(headingMark.size())});
        else
            lines.append({LineKind::Paragraph, line});
        start = end + 1;
    }
    return lines;
}

QString withDiaryDays(QString text, QDate first, QDate last)
{
    const QString format = numbers::shortDateFormat();
    return text.replace(QStringLiteral("{erster Tag}"), QLocale().toString(first, format))
        .replace(QStringLiteral("{letzter Tag}"), QLocale().toString(last, format));
}

} // namespace help
