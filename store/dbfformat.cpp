#include "store/dbfformat.h"

#include "store/error.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace store::dbf {
namespace {

quint16 u16(const char* p)
{
    return static_cast<quint16>(static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[1]) << 8);
}

quint32 u32(const char* p)
{
    return static_cast<quint32>(u16(p)) | static_cast<quint32>(u16(p + 2)) << 16;
}

void put16(char* p, quint16 v)
{
    p[0] = static_cast<char>(v & 0xFF);
    p[1] = static_cast<char>(v >> 8);
}

void put32(char* p, quint32 v)
{
    put16(p, static_cast<quint16>(v & 0xFFFF));
    put16(p + 2, static_cast<quint16>(v >> 16));
}

[[noreturn]] void damaged(const QString& fileName, const QString& what)
{
    throw StoreError(QStringLiteral("%1: Datei ist beschädigt (%2).").arg(fileName, what));
}

char typeLetter(FieldType type)
{
    switch (type) {
    case FieldType::Character:
        return 'C';
    case FieldType::Numeric:
        return 'N';
    case FieldType::Date:
        return 'D';
    }
    return 'C';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\0';
}

} // namespace

Header parseHeader(const QByteArray& image, const QString& fileName)
{
    if (image.size() < 32)
        damaged(fileName, QStringLiteral("Kopf fehlt"));
    const char* p = image.constData();
    if ((static_cast<unsigned char>(p[0]) & 0x07) != 0x03)
        damaged(fileName, QStringLiteral("keine dBase-Tabelle"));
    Header header;
    header.recordCount = u32(p + 4);
    header.headerLength = u16(p + 8);
    header.recordLength = u16(p + 10);
    if (header.headerLength < 33 || header.headerLength > image.size())
        damaged(fileName, QStringLiteral("Kopflänge %1").arg(header.headerLength));
    if (header.recordLength < 2)
        damaged(fileName, QStringLiteral("Satzlänge %1").arg(header.recordLength));

    int offset = 1;
    int pos = 32;
    while (true) {
        if (pos >= header.headerLength)
            damaged(fileName, QStringLiteral("Feldliste ohne Abschluss"));
        if (p[pos] == 0x0D)
            break;
        if (pos + 32 > header.headerLength)
            damaged(fileName, QStringLiteral("Feldliste unvollständig"));
        FieldLayout field;
        const char* d = p + pos;
        const int nameLength = static_cast<int>(strnlen(d, 11));
        field.name = QByteArray(d, nameLength).trimmed().toUpper();
        field.type = d[11];
        field.width = static_cast<unsigned char>(d[16]);
        field.decimals = static_cast<unsigned char>(d[17]);
        field.offset = offset;
        if (field.name.isEmpty() || field.width == 0)
            damaged(fileName, QStringLiteral("Feldbeschreibung %1").arg((pos - 32) / 32 + 1));
        if ((field.type == 'N' || field.type == 'F') && field.decimals >= field.width)
            damaged(fileName, QStringLiteral("Feld %1").arg(QString::fromLatin1(field.name)));
        if (field.type == 'D' && field.width != 8)
            damaged(fileName, QStringLiteral("Feld %1").arg(QString::fromLatin1(field.name)));
        offset += field.width;
        header.fields.push_back(field);
        pos += 32;
    }
    if (header.fields.empty())
        damaged(fileName, QStringLiteral("keine Felder"));
    if (offset != header.recordLength)
        damaged(fileName, QStringLiteral("Satzlänge passt nicht zu den Feldern"));
    return header;
}

QByteArray buildHeader(const std::vector<FieldSpec>& fields, quint32 recordCount, QDate lastUpdate,
                       CodePage declared)
{
    const int headerLength = 32 + 32 * static_cast<int>(fields.size()) + 1;
    int recordLength = 1;
    for (const FieldSpec& f : fields)
        recordLength += f.width;

    QByteArray header(headerLength, '\0');
    char* p = header.data();
    p[0] = 0x03;
    const QByteArray counts = countBytes(recordCount, lastUpdate);
    std::memcpy(p + 1, counts.constData() + 1, 7);
    put16(p + 8, static_cast<quint16>(headerLength));
    put16(p + 10, static_cast<quint16>(recordLength));
    p[29] = static_cast<char>(declared == CodePage::Cp1252 ? kDriverCp1252 : kDriverCp850);
    for (size_t i = 0; i < fields.size(); ++i) {
        char* d = p + 32 + 32 * i;
        std::strncpy(d, fields[i].name, 10);
        d[11] = typeLetter(fields[i].type);
        d[16] = static_cast<char>(fields[i].width);
        d[17] = static_cast<char>(fields[i].decimals);
    }
    p[headerLength - 1] = 0x0D;
    return header;
}

QByteArray countBytes(quint32 recordCount, QDate lastUpdate)
{
    QByteArray bytes(8, '\0');
    bytes[0] = 0x03;
    bytes[1] = static_cast<char>(qBound(0, lastUpdate.year() - 1900, 255));
    bytes[2] = static_cast<char>(lastUpdate.month());
    bytes[3] = static_cast<char>(lastUpdate.day());
    put32(bytes.data() + 4, recordCount);
    return bytes;
}

bool numberWellFormed(const char* data, int width)
{
    // Blanks, an optional sign, digits with at most one decimal point,
    // blanks; or blanks only. This is the cheap check of every record on
    // opening; parseNumber reads the value.
    int i = 0;
    while (i < width && isBlank(data[i]))
        ++i;
    if (i == width)
        return true;
    if (data[i] == '-' || data[i] == '+')
        ++i;
    bool digits = false;
    bool point = false;
    for (; i < width; ++i) {
        const char c = data[i];
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
        } else {
            break;
        }
    }
    while (i < width && isBlank(data[i]))
        ++i;
    return digits && i == width;
}

bool wholeInRange(const char* data, int width)
{
    int i = 0;
    while (i < width && (isBlank(data[i]) || data[i] == '-' || data[i] == '+' || data[i] == '0'))
        ++i;
    int digits = 0;
    while (i + digits < width && data[i + digits] >= '0' && data[i + digits] <= '9')
        ++digits;
    if (digits < 10)
        return true;
    double value = 0;
    return digits == 10 && parseNumber(data, width, value) && std::abs(std::nearbyint(value)) <= 2147483647.0;
}

int dayNumber(const char* data)
{
    bool blank = true;
    bool zeros = true;
    int digits[8];
    for (int i = 0; i < 8; ++i) {
        const char c = data[i];
        blank = blank && isBlank(c);
        zeros = zeros && c == '0';
        digits[i] = c - '0';
        if ((digits[i] < 0 || digits[i] > 9) && !isBlank(c))
            return -1;
    }
    if (blank || zeros)
        return 0;
    for (int d : digits) {
        if (d < 0 || d > 9)
            return -1;
    }
    const int year = digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3];
    const int month = digits[4] * 10 + digits[5];
    const int day = digits[6] * 10 + digits[7];
    static const int kMonthLength[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1)
        return -1;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (day > kMonthLength[month - 1] + (month == 2 && leap ? 1 : 0))
        return -1;
    return year * 10000 + month * 100 + day;
}

bool parseNumber(const char* data, int width, double& value)
{
    int begin = 0;
    int end = width;
    while (begin < end && isBlank(data[begin]))
        ++begin;
    while (end > begin && isBlank(data[end - 1]))
        --end;
    value = 0;
    if (begin == end)
        return true;
    // The text checked here, converted by the correctly rounded std::from_chars:
    // a field holding "0.3" reads as the double nearest to 0.3, so that it
    // shows as it is stored. from_chars takes neither a plus sign nor a
    // decimal comma, which other dBase writers leave.
    char text[256];
    int length = 0;
    int i = begin;
    if (data[i] == '-' || data[i] == '+') {
        if (data[i] == '-')
            text[length++] = '-';
        ++i;
    }
    bool digits = false;
    bool point = false;
    for (; i < end; ++i) {
        const char c = data[i];
        if (c >= '0' && c <= '9') {
            digits = true;
            text[length++] = c;
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
            text[length++] = '.';
        } else {
            return false;
        }
    }
    if (!digits)
        return false;
    const std::from_chars_result result = std::from_chars(text, text + length, value);
    if (result.ec != std::errc() || result.ptr != text + length) {
        value = 0;
        return false;
    }
    return true;
}

bool parseDate(const char* data, QDate& value)
{
    const int number = dayNumber(data);
    value = number > 0 ? QDate(number / 10000, number / 100 % 100, number % 100) : QDate();
    return number >= 0;
}

QString readText(const char* data, int width, CodePage page)
{
    int end = width;
    while (end > 0 && isBlank(data[end - 1]))
        --end;
    return decode(data, end, page);
}

bool writeNumber(double value, int width, int decimals, char* out)
{
    if (!std::isfinite(value))
        return false;
    const QByteArray text = QByteArray::number(value, 'f', decimals);
    if (text.size() > width)
        return false;
    std::memset(out, ' ', width);
    std::memcpy(out + width - text.size(), text.constData(), text.size());
    return true;
}

bool writeDate(QDate value, char* out)
{
    if (!value.isValid()) {
        std::memset(out, ' ', 8);
        return true;
    }
    if (value.year() < 1 || value.year() > 9999)
        return false;
    const QByteArray text = value.toString(QStringLiteral("yyyyMMdd")).toLatin1();
    std::memcpy(out, text.constData(), 8);
    return true;
}

bool writeText(const QString& text, int width, CodePage page, char* out)
{
    QByteArray bytes;
    if (!encode(text, page, bytes) || bytes.size() > width)
        return false;
    std::memset(out, ' ', width);
    std::memcpy(out, bytes.constData(), bytes.size());
    return true;
}

bool writeValue(const Value& value, FieldType type, int width, int decimals, CodePage page, char* out)
{
    switch (type) {
    case FieldType::Character:
        if (const auto* text = std::get_if<QString>(&value))
            return writeText(*text, width, page, out);
        if (const auto* whole = std::get_if<qint64>(&value))
            return writeText(QString::number(*whole), width, page, out);
        return false;
    case FieldType::Numeric:
        if (const auto* whole = std::get_if<qint64>(&value))
            return writeNumber(static_cast<double>(*whole), width, decimals, out);
        if (const auto* real = std::get_if<double>(&value))
            return writeNumber(*real, width, decimals, out);
        return false;
    case FieldType::Date:
        if (const auto* day = std::get_if<QDate>(&value))
            return writeDate(*day, out);
        return false;
    }
    return false;
}

QByteArray encodeRecord(const std::vector<FieldSpec>& fields, const Fields& values, const QString& fileName)
{
    int length = 1;
    for (const FieldSpec& f : fields)
        length += f.width;
    QByteArray record(length, ' ');
    for (const FieldValue& value : values) {
        int offset = 1;
        const FieldSpec* declared = nullptr;
        for (const FieldSpec& f : fields) {
            if (std::strcmp(f.name, value.name) == 0) {
                declared = &f;
                break;
            }
            offset += f.width;
        }
        if (!declared)
            throw StoreError(
                QStringLiteral("%1: Feld %2 ist nicht bekannt.").arg(fileName, QLatin1String(value.name)));
        if (!writeValue(value.value, declared->type, declared->width, declared->decimals, declared->codePage,
                        record.data() + offset))
            throw StoreError(QStringLiteral("%1: Der Wert passt nicht in das Feld %2.")
                                 .arg(fileName, QLatin1String(declared->name)));
    }
    return record;
}

} // namespace store::dbf
