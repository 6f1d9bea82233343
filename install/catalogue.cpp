#include "install/catalogue.h"

#include "diary/rules/numbers.h"

#include <QStringList>

namespace install {
namespace {

[[noreturn]] void malformed(int line, const QString& what)
{
    throw CatalogueError(QStringLiteral("Zeile %1: %2").arg(line).arg(what).toStdString());
}

// The data lines with their numbers, split at '|'; `columns` tells from the
// split line how many columns it must have.
template <typename Columns>
std::vector<std::pair<int, QStringList>> dataLines(const QString& text, Columns columns)
{
    std::vector<std::pair<int, QStringList>> lines;
    const QStringList all = text.split(u'\n');
    for (qsizetype i = 0; i < all.size(); ++i) {
        const QString line = all[i].trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList parts = line.split(u'|');
        const qsizetype expected = columns(parts);
        if (parts.size() != expected)
            malformed(static_cast<int>(i + 1),
                      QStringLiteral("%1 statt %2 Spalten").arg(parts.size()).arg(expected));
        lines.emplace_back(static_cast<int>(i + 1), parts);
    }
    return lines;
}

int toInt(const QString& text, int line)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        malformed(line, QStringLiteral("keine ganze Zahl: %1").arg(text));
    return value;
}

// The text is written with a point, whatever the locale.
double toDouble(const QString& text, int line)
{
    const std::optional<double> value = numbers::readDecimal(text, QLocale::c());
    if (!value || *value < 0)
        malformed(line, QStringLiteral("keine Zahl: %1").arg(text));
    return *value;
}

int unitCode(const QString& text, int line)
{
    for (int kind : {units::Grams, units::Millilitres, units::Pieces}) {
        if (text == units::quantityUnit(kind))
            return kind;
    }
    malformed(line, QStringLiteral("unbekannte Einheit: %1").arg(text));
}

} // namespace

std::vector<Food> parseFoods(const QString& text)
{
    std::vector<Food> foods;
    // A piece line carries the weight of its piece as a tenth column.
    const auto columns = [](const QStringList& parts) {
        return parts.size() > 2 && parts[2] == units::quantityUnit(units::Pieces) ? 10 : 9;
    };
    for (const auto& [line, p] : dataLines(text, columns)) {
        const int unit = unitCode(p[2], line);
        const int pieceWeight = unit == units::Pieces ? toInt(p[9], line) : 0;
        if (unit == units::Pieces && pieceWeight <= 0)
            malformed(line, QStringLiteral("kein Stückgewicht: %1").arg(p[9]));
        foods.push_back({toInt(p[0], line), p[1], unit, toInt(p[3], line), toDouble(p[4], line),
                         toDouble(p[5], line), toDouble(p[6], line), toDouble(p[7], line),
                         toDouble(p[8], line), pieceWeight});
    }
    return foods;
}

std::vector<Activity> parseActivities(const QString& text)
{
    std::vector<Activity> activities;
    for (const auto& [line, p] : dataLines(text, [](const QStringList&) { return 4; }))
        activities.push_back({toInt(p[0], line), p[1], toDouble(p[2], line), toInt(p[3], line)});
    return activities;
}

} // namespace install
