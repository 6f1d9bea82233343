#pragma once

#include <QByteArray>
#include <QString>

namespace store {

// The two single-byte code pages of the table files: DOS code page 850 for
// character fields in general, Windows code page 1252 for the two diary name
// fields that are stored without conversion.
enum class CodePage { Cp850, Cp1252 };

QString decode(const char* bytes, int length, CodePage page);

// Encodes text into the code page. Returns false (leaving `out` undefined)
// when a character has no byte in that code page.
bool encode(const QString& text, CodePage page, QByteArray& out);

// The text as the code page can hold it: typographic quotes become straight
// ones, dashes "-", the ellipsis "...", the euro sign "EUR", and any other
// character without a byte in the page (a surrogate pair counts as one) "?".
// Text the page holds is returned unchanged. Used wherever user input is
// stored, so that what the user sees is what is stored.
QString fitToCodePage(const QString& text, CodePage page);

// The text as a one-line character field holds it: line breaks, tabs and
// the other control characters removed, a no-break space or any other
// space a plain blank, then fitted to the code page. Used for what the user
// enters into single-line fields, so that a pasted "Altbier\n" is the
// "Altbier" the field will store, and is compared as such.
QString fitToLine(const QString& text, CodePage page);

} // namespace store
