#include "tools/rules/catalogrules.h"

#include "diary/rules/diary.h"
#include "diary/rules/numbers.h"

#include <array>

namespace catalogrules {
namespace {

const std::array<const char*, kCategoryItems> kCategoryTexts = {
    "Nahrung: Getränke",       "Nahrung: Milch+Käse",    "Nahrung: Obst+Nüsse",
    "Nahrung: Gemüse+Pilze",   "Nahrung: Brot+Getreide", "Nahrung: Eier+Nudeln",
    "Nahrung: Fisch",          "Nahrung: Fleisch+Wurst", "Nahrung: Öl,Fett,Soßen",
    "Nahrung: Snacks+Süsses",  "Nahrung: Aus der Tüte",  "Nahrung: Aus der Dose",
    "Nahrung: Tiefgekühlt",    "Nahrung: Mikrowelle",    "Nahrung: Fastfood",
    "Nahrung: Favoriten",      "Aktivität: Haus+Garten", "Aktivität: Tanz+Aerobic",
    "Aktivität: Laufen+Gehen", "Aktivität: Rad+Skating", "Aktivität: Ball+Spiel",
    "Aktivität: Wasser",       "Aktivität: Schnee+Eis",  "Aktivität: Sonst. Aktivität"};

using numbers::allDigits;
using numbers::isDigit;

// Digits as a number; nothing beyond 18 digits, which no field holds.
std::optional<qint64> digitsValue(QStringView digits)
{
    if (digits.size() > 18 || !allDigits(digits))
        return std::nullopt;
    qint64 value = 0;
    for (QChar c : digits)
        value = value * 10 + (c.unicode() - u'0');
    return value;
}

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString notANumber(const char* field, const QString& text, const QString& range, const QString& refusal)
{
    return QStringLiteral("Im Feld %1 steht %2. Erlaubt ist eine Zahl von %3.\r%4")
        .arg(quoted(QString::fromUtf8(field)), quoted(text), range, refusal);
}

} // namespace

QString categoryText(int item)
{
    if (item < 0 || item >= kCategoryItems)
        return QString();
    return QString::fromUtf8(kCategoryTexts[item]);
}

bool isActivityItem(int item)
{
    return item >= kFirstActivityItem;
}

int categoryCode(int item)
{
    return isActivityItem(item) ? item - 14 : item + 1;
}

int preselectedItem(int folder, int foodCategory, int activityCategory)
{
    if (folder == 4)
        return activityCategory >= 2 && activityCategory <= 9 ? activityCategory + 14 : kFirstActivityItem;
    if (foodCategory >= 1 && foodCategory <= 16)
        return foodCategory - 1;
    return 0;
}

QString unitText(qint64 unit)
{
    return QStringLiteral("pro ") + units::referenceQuantity(unit);
}

int unitItem(const QString& text)
{
    for (int kind : {units::Grams, units::Millilitres}) {
        if (text == unitText(kind))
            return kind - 1;
    }
    return units::Pieces - 1;
}

namespace {

QStringView withoutTrailingBlanks(const QString& name)
{
    QStringView stored(name);
    while (stored.endsWith(u' '))
        stored.chop(1);
    return stored;
}

} // namespace

bool isReservedName(const QString& name)
{
    const QStringView stored = withoutTrailingBlanks(name);
    return stored == diary::kPlaceholder || stored.startsWith(diary::kDailyPrefix) ||
           stored == diary::kSummaryName || stored == diary::kGapFillerName;
}

Checked<> checkName(const QString& name, bool change, const QString& old)
{
    if (name.isEmpty())
        return Checked<>::refused(change ? QStringLiteral("Textfeld leer. Kein Ändern möglich !")
                                         : QStringLiteral("Nichts zum Einfügen gefunden !"));
    const bool kept = change && withoutTrailingBlanks(name) == withoutTrailingBlanks(old) &&
                      withoutTrailingBlanks(name) != diary::kPlaceholder;
    if (kept || !isReservedName(name))
        return Passed{};
    if (!change)
        return Checked<>::refused(
            QStringLiteral("Das ist kein sinnvoller Text. Daten werden nicht eingefügt !"));
    if (name == diary::kPlaceholder)
        return Checked<>::refused(QStringLiteral("Text \"%1\" nicht sinnvoll. Daten werden nicht eingefügt !")
                                      .arg(diary::kPlaceholder));
    return Checked<>::refused(QStringLiteral("Das ist kein sinnvoller Text. Daten werden nicht geändert !"));
}

namespace {

// "/100g", "/100ml", "/St." for unit item 0 ... 2; nothing for another item.
QString perReference(int unitItem)
{
    if (unitItem < 0 || unitItem >= units::Pieces)
        return QString();
    return u'/' + units::referenceQuantity(unitItem + 1);
}

} // namespace

QString energyUnit(bool activity, int unitItem, bool kcal)
{
    if (activity)
        return units::energyUnit(kcal) + QStringLiteral("/h");
    const QString reference = perReference(unitItem);
    return reference.isEmpty() ? QString() : units::energyUnit(kcal) + reference;
}

QString nutrientUnit(int unitItem)
{
    const QString reference = perReference(unitItem);
    return reference.isEmpty() ? QString() : u'g' + reference;
}

QChar decimalKey(const QString& text, QChar key, QChar separator)
{
    if (isDigit(key) || key == u'\b')
        return key;
    if (key == u',' || key == u'.')
        return !text.isEmpty() && allDigits(text) ? separator : QChar();
    return QChar();
}

QString cappedAt999(const QString& text, QChar separator)
{
    if (!tenths(text, separator))
        return text;
    const qsizetype at = text.indexOf(separator);
    const QStringView whole = at < 0 ? QStringView(text) : QStringView(text).left(at);
    const QStringView fraction = at < 0 ? QStringView() : QStringView(text).mid(at + 1);
    const qint64 units = whole.isEmpty() ? 0 : digitsValue(whole).value_or(0);
    bool fractionAboveZero = false;
    for (QChar c : fraction)
        fractionAboveZero = fractionAboveZero || c != u'0';
    return units > 999 || (units == 999 && fractionAboveZero) ? QStringLiteral("0") : text;
}

std::optional<qint64> wholeNumber(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    return digitsValue(text);
}

std::optional<qint64> tenths(const QString& text, QChar separator)
{
    const qsizetype at = text.indexOf(separator);
    const QStringView whole = at < 0 ? QStringView(text) : QStringView(text).left(at);
    const QStringView fraction = at < 0 ? QStringView() : QStringView(text).mid(at + 1);
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    if (!allDigits(fraction) || fraction.size() > 17)
        return std::nullopt;
    const std::optional<qint64> units = whole.isEmpty() ? std::optional<qint64>(0) : digitsValue(whole);
    if (!units || *units > 100000000000)
        return std::nullopt;
    if (fraction.isEmpty())
        return *units * 10;
    // The first decimal place, then the rest decides: above a half up,
    // below down, exactly a half to the even neighbour.
    qint64 value = *units * 10 + (fraction.front().unicode() - u'0');
    const QStringView rest = fraction.mid(1);
    if (!rest.isEmpty()) {
        const QChar lead = rest.front();
        bool moreAfterFive = false;
        for (QChar c : rest.mid(1))
            moreAfterFive = moreAfterFive || c != u'0';
        if (lead > u'5' || (lead == u'5' && (moreAfterFive || value % 2 == 1)))
            ++value;
    }
    return value;
}

Checked<Row> checkFields(const Fields& fields, bool activity, bool kcal, QChar separator,
                         const QString& refusal)
{
    Row row;
    row.name = fields.name;
    row.unitItem = fields.unitItem;

    const std::optional<qint64> energy = wholeNumber(fields.energy);
    if (!energy || *energy > units::kLargestEnergy)
        return Checked<Row>::refused(notANumber(
            "Energie", fields.energy, QStringLiteral("0 bis %1").arg(units::kLargestEnergy), refusal));
    row.energyKj = kcal ? units::kjFromKcal(*energy) : *energy;
    if (row.energyKj > units::kLargestEnergy)
        return Checked<Row>::refused(
            QStringLiteral("%1 kcal sind %2 kJ. Das Feld \"Energie\" fasst höchstens %3 kJ.\r%4")
                .arg(*energy)
                .arg(row.energyKj)
                .arg(units::kLargestEnergy)
                .arg(refusal));
    if (!activity) {
        const struct
        {
            const char* field;
            const QString& text;
            qint64& value;
        } nutrients[] = {{"Protein", fields.protein, row.proteinTenths},
                         {"Kohlenh.", fields.carbohydrate, row.carbohydrateTenths},
                         {"Fett", fields.fat, row.fatTenths}};
        for (const auto& n : nutrients) {
            const std::optional<qint64> value = tenths(n.text, separator);
            if (!value || *value > 9990)
                return Checked<Row>::refused(
                    notANumber(n.field, n.text, QStringLiteral("0 bis 999"), refusal));
            n.value = *value;
        }
    }
    return row;
}

store::Fields recordFields(const Row& row, bool activity, int category)
{
    if (activity)
        return {{"AKTKAT", qint64(category)},
                {"AKTNAME", row.name},
                {"AKTME", qint64(1)},
                {"AKTENERGIE", row.energyKj}};
    return {{"NRGKAT", qint64(category)},
            {"NRGNAME", row.name},
            {"NRGME", qint64(row.unitItem + 1)},
            {"NRGENERGIE", row.energyKj},
            {"NRGPROTEIN", row.proteinTenths / 10.0},
            {"NRGKOHLENH", row.carbohydrateTenths / 10.0},
            {"NRGFETT", row.fatTenths / 10.0}};
}

} // namespace catalogrules
