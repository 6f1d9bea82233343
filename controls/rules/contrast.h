#pragma once

#include <cstdint>

// The contrast of two colours as the accessibility guidelines measure it,
// and the choice of an ink that can be read on a background. Colours are
// 0xRRGGBB in sRGB.
namespace contrast {

// Normal text needs 4.5 : 1 against its background; marks and the state of
// a control 3 : 1.
constexpr double kTextContrast = 4.5;
constexpr double kMarkContrast = 3.0;

// Relative luminance, 0 for black to 1 for white.
double relativeLuminance(std::uint32_t rgb);

// (L1 + 0.05) / (L2 + 0.05), L1 the lighter of the two: 1 for equal colours,
// 21 for black on white.
double contrastRatio(std::uint32_t a, std::uint32_t b);

// The ink for text or a mark on `background`: `preferred` where it reaches
// `minimum`, otherwise the palette's own text colour `paletteText` where
// that does, otherwise black or white, whichever stands out more.
std::uint32_t readableInk(std::uint32_t preferred, std::uint32_t background, std::uint32_t paletteText,
                          double minimum = kTextContrast);

// `colour` made darker or lighter, as little as needed, until it stands out
// from `other` by `minimum`: darker where it is the darker of the two,
// lighter otherwise, and the other way where that way cannot reach it.
// A warning red on a face, a selection behind its text: the colour stays
// recognisable. Black or white, whichever stands out more, where neither
// way reaches it.
std::uint32_t readableShade(std::uint32_t colour, std::uint32_t other, double minimum = kTextContrast);

} // namespace contrast
