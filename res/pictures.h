#pragma once

#include <QPixmap>

// Pictures of the program, drawn in code.
namespace pictures {

// The glyphs of the four program buttons of the right-hand panel.
enum class Button { Help, Printer, Tools, Exit };
QPixmap buttonGlyph(Button which);

} // namespace pictures
