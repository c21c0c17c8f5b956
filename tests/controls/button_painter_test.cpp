#include "controls/button_painter.h"

#include <climits>
#include <cstdint>

#include <gtest/gtest.h>

#include "button_looks.h"

namespace tradumar {
namespace {

// Every look of every sample face, pixel for pixel against the stored sheet.
// On a difference the drawn sheet is saved next to the test for a look by eye;
// copy it over tests/data/button_looks.png once it is right.
TEST(ButtonLooks, MatchTheStoredSheet) {
    const QImage drawn = testsupport::renderLookSheet();
    const QImage stored = testsupport::storedLookSheet();
    if (drawn == stored)
        return;
    drawn.save(QStringLiteral("button_looks.actual.png"));
    ASSERT_EQ(stored.size(), drawn.size()) << "tests/data/button_looks.png missing or of another size";
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            ASSERT_EQ(drawn.pixel(x, y), stored.pixel(x, y))
                << "sample " << y / testsupport::kLookCell << ", look " << x / testsupport::kLookCell
                << " at " << x % testsupport::kLookCell << "," << y % testsupport::kLookCell
                << "; the drawn sheet is saved as button_looks.actual.png";
}

TEST(ShiftColour, FollowsTheBlueRuleAndClamps) {
    struct Case {
        Colour colour;
        std::int32_t amount;
        Colour expected;
    };
    const Case cases[] = {
        {0xFFFFFF, -35, 0xD1DCDC},              // red 220, green 220, blue 209
        {0xFFFFFF, 20, 0xFFFFFF},               // lighter than white stays white
        {0x80C0FF, 100, 0xC2FFFF},              // blue 128 + 12800 / 192 = 194; red, green held at 255
        {0x000000, 100, 0x006464},              // blue 0 never moves
        {rgbColour(50, 50, 100), -1, 0x643131}, // -100 / 192 truncates to 0, not -1
        {rgbColour(50, 50, 1), -100, 0x010000}, // red, green clamp; blue keeps 1
        {0xFFFFFF, INT32_MIN, 0x000000},
        {0x010101, INT32_MAX, 0xFFFFFF},
        {0xAB123456, 0, 0x123456}, // the fourth byte is not a colour
    };
    for (const Case& c : cases)
        EXPECT_EQ(shiftColour(c.colour, c.amount), c.expected)
            << std::hex << c.colour << " by " << std::dec << c.amount;
}

} // namespace
} // namespace tradumar
