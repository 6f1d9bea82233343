#include "controls/rules/contrast.h"

#include <cmath>
#include <initializer_list>

namespace contrast {
namespace {

double linear(std::uint32_t channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

} // namespace

double relativeLuminance(std::uint32_t rgb)
{
    return 0.2126 * linear((rgb >> 16) & 0xff) + 0.7152 * linear((rgb >> 8) & 0xff) +
           0.0722 * linear(rgb & 0xff);
}

double contrastRatio(std::uint32_t a, std::uint32_t b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return la > lb ? (la + 0.05) / (lb + 0.05) : (lb + 0.05) / (la + 0.05);
}

std::uint32_t readableInk(std::uint32_t preferred, std::uint32_t background, std::uint32_t paletteText,
                          double minimum)
{
    if (contrastRatio(preferred, background) >= minimum)
        return preferred;
    if (contrastRatio(paletteText, background) >= minimum)
        return paletteText;
    constexpr std::uint32_t black = 0x000000, white = 0xffffff;
    return contrastRatio(black, background) >= contrastRatio(white, background) ? black : white;
}

std::uint32_t readableShade(std::uint32_t colour, std::uint32_t other, double minimum)
{
    constexpr std::uint32_t black = 0x000000, white = 0xffffff;
    const auto towards = [&](std::uint32_t target, int step) {
        std::uint32_t mixed = 0;
        for (int shift : {16, 8, 0}) {
            const int from = (colour >> shift) & 0xff, to = (target >> shift) & 0xff;
            mixed |= static_cast<std::uint32_t>(from + (to - from) * step / 64) << shift;
        }
        return mixed;
    };
    const bool darker = relativeLuminance(colour) <= relativeLuminance(other);
    for (const std::uint32_t target : {darker ? black : white, darker ? white : black}) {
        for (int step = 0; step <= 64; ++step) {
            if (contrastRatio(towards(target, step), other) >= minimum)
                return towards(target, step);
        }
    }
    return contrastRatio(black, other) >= contrastRatio(white, other) ? black : white;
}

} // namespace contrast
