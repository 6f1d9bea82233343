#include "diary/rules/daytext.h"

#include "diary/rules/numbers.h"

#include <QStringList>

namespace daytext {
namespace {

using numbers::allDigits;

int maxDigits(QChar kind)
{
    return kind == u'y' ? 4 : 2;
}

// Whether `digits` can stand in part `kind` or grow into it.
bool possible(QChar kind, const QString& digits)
{
    if (digits.isEmpty() || digits.size() > maxDigits(kind) || !allDigits(digits))
        return false;
    if (kind == u'y' || digits.size() < 2)
        return true;
    const int value = digits.toInt();
    return value >= 1 && value <= (kind == u'd' ? 31 : 12);
}

// Whether no further digit can follow `digits` in part `kind`.
bool full(QChar kind, const QString& digits)
{
    if (digits.size() >= maxDigits(kind))
        return true;
    if (kind == u'y' || digits.isEmpty())
        return false;
    return digits.at(0) > (kind == u'd' ? u'3' : u'1');
}

} // namespace

Layout layoutOf(const QString& displayFormat)
{
    Layout layout;
    QString order;
    QChar separator;
    for (QChar c : displayFormat) {
        if (c == u'd' || c == u'M' || c == u'y') {
            if (!order.contains(c))
                order += c;
        } else if (separator.isNull()) {
            separator = c;
        }
    }
    if (order.size() == 3 && !separator.isNull()) {
        layout.order = order;
        layout.separator = separator;
    }
    return layout;
}

QString typableFormat(const QString& displayFormat)
{
    QString format = displayFormat;
    format.replace(QStringLiteral("MMMM"), QStringLiteral("MM"));
    format.replace(QStringLiteral("MMM"), QStringLiteral("MM"));
    return format;
}

Checked<QDate> dayOf(const Layout& layout, const QString& text)
{
    const auto notADay = [&] {
        return Checked<QDate>::refused(QStringLiteral("\"%1\" ist kein gültiges Datum.").arg(text));
    };
    const QStringList parts = text.split(layout.separator);
    if (parts.size() != 3)
        return notADay();
    int day = 0, month = 0, year = 0;
    for (int i = 0; i < 3; ++i) {
        const QChar kind = layout.order.at(i);
        const QString& digits = parts.at(i);
        const bool rightLength = kind == u'y' ? digits.size() == 4 : digits.size() >= 1 && digits.size() <= 2;
        if (!rightLength || !allDigits(digits))
            return notADay();
        (kind == u'd' ? day : kind == u'M' ? month : year) = digits.toInt();
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return notADay();
    return date;
}

bool isBeginning(const Layout& layout, const QString& text)
{
    const QStringList parts = text.split(layout.separator);
    if (parts.size() > 3)
        return false;
    for (int i = 0; i < parts.size(); ++i) {
        const bool last = i == parts.size() - 1;
        if (parts.at(i).isEmpty() ? !last : !possible(layout.order.at(i), parts.at(i)))
            return false;
    }
    return true;
}

bool isEditable(const Layout& layout, const QString& text)
{
    const QStringList parts = text.split(layout.separator);
    if (parts.size() > 3)
        return false;
    for (const QString& part : parts) {
        if (part.size() > 4 || !allDigits(part))
            return false;
    }
    return true;
}

int partStart(const Layout& layout, const QString& text, int part)
{
    int start = 0;
    for (int i = 0; i < part; ++i) {
        const int next = text.indexOf(layout.separator, start);
        if (next < 0)
            return static_cast<int>(text.size());
        start = next + 1;
    }
    return start;
}

int partEnd(const Layout& layout, const QString& text, int part)
{
    const int end = text.indexOf(layout.separator, partStart(layout, text, part));
    return end < 0 ? static_cast<int>(text.size()) : end;
}

int partAt(const Layout& layout, const QString& text, int cursor)
{
    if (text.count(layout.separator) != 2)
        return -1;
    for (int part = 0; part < 3; ++part) {
        if (cursor <= partEnd(layout, text, part))
            return part;
    }
    return 2;
}

std::optional<Typed> typeDigit(const Layout& layout, const QString& text, int part, const QString& digits,
                               QChar digit)
{
    QStringList parts = text.split(layout.separator);
    if (parts.size() != 3 || part < 0 || part > 2)
        return std::nullopt;
    const QChar kind = layout.order.at(part);
    const QString typed = digits + digit;
    if (!possible(kind, typed))
        return std::nullopt;
    parts[part] = typed;
    Typed result;
    result.text = parts.join(layout.separator);
    result.cursor = partEnd(layout, result.text, part);
    result.part = part;
    result.digits = typed;
    if (full(kind, typed) && part < 2) {
        result.part = part + 1;
        result.cursor = partStart(layout, result.text, part + 1);
        result.digits.clear();
    }
    return result;
}

} // namespace daytext
