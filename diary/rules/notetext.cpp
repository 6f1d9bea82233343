#include "diary/rules/notetext.h"

namespace notetext {

QString storedForm(const QString& editorText)
{
    QString text = editorText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

QString editorForm(const QString& storedText)
{
    QString text = storedText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

int storedLength(const QString& editorText)
{
    return static_cast<int>(storedForm(editorText).size());
}

QStringList split(const QString& stored)
{
    QStringList parts;
    for (int k = 0; k < kParts; ++k)
        parts << stored.mid(k * kPartLength, kPartLength);
    return parts;
}

QString join(const QStringList& parts)
{
    int last = -1;
    for (int k = 0; k < parts.size(); ++k) {
        if (!parts[k].isEmpty())
            last = k;
    }
    QString note;
    for (int k = 0; k <= last; ++k)
        note += k < last ? parts[k].leftJustified(kPartLength, u' ') : parts[k];
    return note;
}

int periodDays(int item, QDate today, QDate firstDay)
{
    static const int kDays[] = {7, 30, 90, 180, 360};
    if (item >= 0 && item < 5)
        return kDays[item];
    return static_cast<int>(firstDay.daysTo(today));
}

QString excerpt(const QString& note, int position)
{
    QString part = note.mid(position, 80);
    part.replace(u'\r', u' ');
    part.replace(u'\n', u' ');
    return QStringLiteral("..") + part + QStringLiteral("..");
}

} // namespace notetext
