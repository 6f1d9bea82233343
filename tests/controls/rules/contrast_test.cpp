// The contrast of colours as the accessibility guidelines measure it, and
// the inks chosen for texts and marks on a palette's background.

#include "controls/rules/contrast.h"

#include <gtest/gtest.h>

using namespace contrast;

TEST(Contrast, RatiosOfKnownPairs)
{
    const struct
    {
        std::uint32_t a, b;
        double ratio;
    } pairs[] = {
        {0x000000, 0xffffff, 21.0}, {0xffffff, 0xffffff, 1.0}, {0x777777, 0xffffff, 4.48},
        {0x767676, 0xffffff, 4.54}, {0xff0000, 0xffffff, 4.0}, {0x0000ff, 0x000000, 2.44},
        {0xefefef, 0x1c3a78, 9.48},
    };
    for (const auto& p : pairs) {
        EXPECT_NEAR(contrastRatio(p.a, p.b), p.ratio, 0.01) << std::hex << p.a << " on " << p.b;
        EXPECT_DOUBLE_EQ(contrastRatio(p.a, p.b), contrastRatio(p.b, p.a));
    }
    EXPECT_DOUBLE_EQ(relativeLuminance(0x000000), 0.0);
    EXPECT_DOUBLE_EQ(relativeLuminance(0xffffff), 1.0);
}

TEST(Contrast, AnInkKeepsItsColourWhereItCanBeRead)
{
    const std::uint32_t caption = 0x1c3a78, light = 0xefefef, dark = 0x353535, paper = 0xeeeeec;
    const struct
    {
        std::uint32_t preferred, background, paletteText;
        double minimum;
        std::uint32_t ink;
    } cases[] = {
        {caption, light, 0x000000, kTextContrast, caption},      // readable: its own colour
        {caption, dark, paper, kTextContrast, paper},            // not: the palette's text
        {0x808080, 0x777777, 0x7a7a7a, kTextContrast, 0x000000}, // neither: black on the lighter grey
        {0x808080, 0x404040, 0x505050, kTextContrast, 0xffffff}, // white on the darker one
        // A mark needs less: a mid blue stands out from a dark face enough.
        {0x2a82da, dark, paper, kMarkContrast, 0x2a82da},
        {0x2a82da, dark, paper, kTextContrast, paper},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readableInk(c.preferred, c.background, c.paletteText, c.minimum), c.ink)
            << std::hex << c.preferred << " on " << c.background;
}

TEST(Contrast, AShadeMovesAsLittleAsNeededAwayFromWhatItLiesOn)
{
    const struct
    {
        std::uint32_t colour, other;
        bool darker;
    } cases[] = {
        {0xff0000, 0xefefef, true},  // a red caption on a light face
        {0xff0000, 0x31363b, false}, // on a dark one
        {0x3daee9, 0xffffff, true},  // a selection behind white text
        {0x777777, 0x777777, true},  // on itself: to black, which stands out more
    };
    for (const auto& c : cases) {
        const std::uint32_t shade = readableShade(c.colour, c.other);
        EXPECT_GE(contrastRatio(shade, c.other), kTextContrast) << std::hex << c.colour;
        EXPECT_EQ(relativeLuminance(shade) < relativeLuminance(c.colour), c.darker) << std::hex << c.colour;
    }
    EXPECT_EQ(readableShade(0x1c3a78, 0xefefef), 0x1c3a78u) << "readable already";
}
