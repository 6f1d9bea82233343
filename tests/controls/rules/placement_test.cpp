// The scale and place at which a window of fixed size opens on a screen.

#include "controls/rules/placement.h"

#include <gtest/gtest.h>

using placement::place;

TEST(Placement, TheDesktopsScaleWhereTheWindowFitsTheLargestThatFitsWhereNot)
{
    const QSize main(780, 554);
    const struct
    {
        const char* screen;
        QRect available;
        QMargins frame;
        double desired;
        double scale;
        QPoint frameTopLeft;
    } cases[] = {
        // Device pixels, as the program sees the screen before it starts.
        {"1366 x 768 at 150 %", {0, 0, 1366, 768}, {2, 48, 2, 3}, 1.5, 1.29, {177, 1}},
        {"the same under a top bar", {0, 40, 1366, 728}, {2, 56, 2, 2}, 1.5, 1.2, {213, 42}},
        {"1920 x 1080 at 200 %", {0, 0, 1920, 1080}, {2, 64, 2, 4}, 2.0, 1.82, {248, 1}},
        {"1920 x 1080 at 100 %", {0, 0, 1920, 1080}, {2, 64, 2, 4}, 1.0, 1.0, {568, 229}},
        {"a second screen at 200 %", {1920, 0, 2560, 1440}, {2, 64, 2, 4}, 2.0, 2.0, {2418, 132}},
        // Too small even at 1: never smaller, the title bar stays on the
        // screen and the window hangs below.
        {"1024 x 576", {0, 24, 1024, 552}, {2, 30, 2, 2}, 1.0, 1.0, {120, 24}},
        {"1024 x 576 at 125 %", {0, 24, 1024, 552}, {2, 30, 2, 2}, 1.25, 1.0, {120, 24}},
        // A desktop scale below 1 is the user's, kept when it fits.
        {"800 x 600 at 80 %", {0, 0, 800, 600}, {2, 30, 2, 2}, 0.8, 0.8, {86, 62}},
        // Logical pixels once the scale is set.
        {"1366 x 768 at 120 %, logical", {0, 0, 1138, 640}, {2, 24, 2, 2}, 1.0, 1.0, {177, 30}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screen);
        const placement::Placement p = place(c.available, main, c.frame, c.desired);
        EXPECT_DOUBLE_EQ(p.scale, c.scale);
        EXPECT_EQ(p.frameTopLeft, c.frameTopLeft);
        // Wherever the window fits at the scale, the whole frame is inside.
        const QSize framed(
            static_cast<int>(std::ceil(main.width() * p.scale)) + c.frame.left() + c.frame.right(),
            static_cast<int>(std::ceil(main.height() * p.scale)) + c.frame.top() + c.frame.bottom());
        if (framed.height() <= c.available.height())
            EXPECT_TRUE(c.available.contains(QRect(p.frameTopLeft, framed)));
    }
}

TEST(Placement, AnExactFitIsNotRoundedDown)
{
    EXPECT_DOUBLE_EQ(place({0, 0, 2000, 600}, {500, 500}, {}, 1.5).scale, 1.2);
    EXPECT_DOUBLE_EQ(place({0, 0, 2000, 600}, {500, 500}, {}, 1.2).scale, 1.2);
    EXPECT_DOUBLE_EQ(place({0, 0, 2000, 599}, {500, 500}, {}, 1.5).scale, 1.19);
}
