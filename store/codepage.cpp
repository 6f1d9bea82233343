#include "store/codepage.h"

#include <array>
#include <unordered_map>

namespace store {
namespace {

// Unicode code points of the bytes 0x80 ... 0xFF.
constexpr std::array<char16_t, 128> kCp850High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C,
    0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580, 0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6,
    0x00A7, 0x00F7, 0x00B8, 0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

// Windows leaves 0x81, 0x8D, 0x8F, 0x90 and 0x9D unassigned; they round-trip
// as the C1 control characters of the same value.
constexpr std::array<char16_t, 128> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152,
    0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122,
    0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, 0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF, 0x00B0, 0x00B1, 0x00B2, 0x00B3,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF, 0x00C0,
    0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7, 0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD,
    0x00CE, 0x00CF, 0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA,
    0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF, 0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF, 0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4,
    0x00F5, 0x00F6, 0x00F7, 0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};

const std::array<char16_t, 128>& highHalf(CodePage page)
{
    return page == CodePage::Cp850 ? kCp850High : kCp1252High;
}

std::unordered_map<char16_t, char> reverseOf(const std::array<char16_t, 128>& high)
{
    std::unordered_map<char16_t, char> reverse;
    for (int i = 0; i < 128; ++i)
        reverse.emplace(high[i], static_cast<char>(0x80 + i));
    return reverse;
}

const std::unordered_map<char16_t, char>& reverseHalf(CodePage page)
{
    static const auto cp850 = reverseOf(kCp850High);
    static const auto cp1252 = reverseOf(kCp1252High);
    return page == CodePage::Cp850 ? cp850 : cp1252;
}

bool holds(char16_t c, CodePage page)
{
    return c < 0x80 || reverseHalf(page).count(c) != 0;
}

// Stand-ins made of characters that both pages hold.
const char* standInFor(char16_t c)
{
    switch (c) {
    case 0x201C: case 0x201D: case 0x201E: case 0x201F: case 0x2033:
        return "\"";
    case 0x2018: case 0x2019: case 0x201A: case 0x201B: case 0x2032:
        return "'";
    case 0x2010: case 0x2011: case 0x2012: case 0x2013: case 0x2014: case 0x2015: case 0x2212:
        return "-";
    case 0x2026:
        return "...";
    case 0x20AC:
        return "EUR";
    default:
        return "?";
    }
}

} // namespace

QString fitToCodePage(const QString& text, CodePage page)
{
    qsizetype i = 0;
    while (i < text.size() && holds(text[i].unicode(), page))
        ++i;
    if (i == text.size())
        return text;
    QString fitted = text.left(i);
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (holds(c, page)) {
            fitted += QChar(c);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode()))
            ++i;
        fitted += QLatin1String(standInFor(c));
    }
    return fitted;
}

QString fitToLine(const QString& text, CodePage page)
{
    QString line;
    line.reserve(text.size());
    for (const QChar c : text) {
        switch (c.category()) {
        case QChar::Other_Control:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            break;
        case QChar::Separator_Space:
            line += u' ';
            break;
        default:
            line += c;
        }
    }
    return fitToCodePage(line, page);
}

QString decode(const char* bytes, int length, CodePage page)
{
    const auto& high = highHalf(page);
    QString text(length, Qt::Uninitialized);
    QChar* out = text.data();
    for (int i = 0; i < length; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = b < 0x80 ? QChar(b) : QChar(high[b - 0x80]);
    }
    return text;
}

bool encode(const QString& text, CodePage page, QByteArray& out)
{
    const auto& reverse = reverseHalf(page);
    out.resize(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            out[i] = static_cast<char>(c);
            continue;
        }
        const auto it = reverse.find(c);
        if (it == reverse.end())
            return false;
        out[i] = it->second;
    }
    return true;
}

} // namespace store
