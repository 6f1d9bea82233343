#pragma once

#include "store/schema.h"
#include "store/value.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <vector>

// The dBase III table file: a 32-byte header, 32-byte field descriptors
// ended by 0x0D, fixed-length records each led by a deletion flag (' ' or
// '*'), and an end-of-file mark 0x1A after the last record.
namespace store::dbf {

constexpr char kLive = ' ';
constexpr char kDeleted = '*';
constexpr char kEndOfFile = 0x1A;
// Language driver byte of the header (byte 29): DOS code page 850 and
// Windows code page 1252.
constexpr quint8 kDriverCp850 = 0x02;
constexpr quint8 kDriverCp1252 = 0x03;

struct FieldLayout
{
    QByteArray name;
    char type; // 'C', 'N', 'F', 'D', 'L', ...
    int offset; // from the start of the record, after the deletion flag
    int width;
    int decimals;
};

struct Header
{
    int headerLength = 0;
    int recordLength = 0;
    quint32 recordCount = 0;
    std::vector<FieldLayout> fields;
};

// Reads and checks the header of a table image. Throws StoreError naming
// `fileName` when the header is short, inconsistent or does not fit the file.
Header parseHeader(const QByteArray& image, const QString& fileName);

// The header and field descriptors of a new table with `fields`, declaring
// the code page `declared`.
QByteArray buildHeader(const std::vector<FieldSpec>& fields, quint32 recordCount, QDate lastUpdate,
                       CodePage declared = CodePage::Cp850);

// The eight header bytes that change on every append: date of last update
// (bytes 1 to 3) and record count (bytes 4 to 7).
QByteArray countBytes(quint32 recordCount, QDate lastUpdate);

// Field codecs. The readers accept blanks as the empty value.
bool numberWellFormed(const char* data, int width);
// Whether a well-formed number is one that a field of whole numbers holds
// as a value: within the range of a 32-bit integer.
bool wholeInRange(const char* data, int width);
bool parseNumber(const char* data, int width, double& value);
// The day of an 8-byte date field as YYYYMMDD; 0 when empty, -1 when garbled.
int dayNumber(const char* data);
bool parseDate(const char* data, QDate& value); // 8 bytes; false when garbled
QString readText(const char* data, int width, CodePage page);

// Writers fill exactly `width` bytes or return false when the value does
// not fit (too long, too many digits, a character outside the code page).
bool writeNumber(double value, int width, int decimals, char* out);
bool writeDate(QDate value, char* out);
bool writeText(const QString& text, int width, CodePage page, char* out);
// Writes a value of the matching kind into a field of the given class. A
// whole number may go into a character field.
bool writeValue(const Value& value, FieldType type, int width, int decimals, CodePage page, char* out);

// A record of `fields` (declared layout, flag included) from the named
// `values`; fields without a value are blank. Throws StoreError naming
// `fileName` and the field when a value does not fit or names no field.
QByteArray encodeRecord(const std::vector<FieldSpec>& fields, const Fields& values, const QString& fileName);

} // namespace store::dbf
