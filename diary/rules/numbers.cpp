#include "diary/rules/numbers.h"

#include <QLocale>

#include <cmath>

namespace numbers {

qint64 roundHalfEven(double value)
{
    return static_cast<qint64>(std::nearbyint(value));
}

qint64 roundHalfEven(long double value)
{
    return static_cast<qint64>(std::nearbyintl(value));
}

qint64 roundHalfAway(double value)
{
    return static_cast<qint64>(std::round(value));
}

qint64 roundHalfAway(long double value)
{
    return static_cast<qint64>(std::roundl(value));
}

QString shortest(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', QLocale::FloatingPointShortest);
}

QString shortDateFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return format;
}

bool parseInteger(const QString& text, qint64& value)
{
    bool ok = false;
    value = text.trimmed().toLongLong(&ok);
    if (!ok)
        value = 0;
    return ok;
}

} // namespace numbers
