#include "controls/button_painter.h"

#include <gtest/gtest.h>

#include "button_looks.h"

namespace tradumar::testsupport {
namespace {

// Every look of every sample face, pixel for pixel against the stored sheet.
// The faces include the only button the program shows (the project dialog's)
// under the classic and an odd set of system colours, so the lines, rounded
// corners and colour shifts it is drawn with are checked here as drawn.
// On a difference the drawn sheet is saved next to the test for a look by eye;
// copy it over tests/data/button_looks.png once it is right.
TEST(ButtonLooks, MatchTheStoredSheet) {
    const QImage drawn = renderLookSheet();
    const QImage stored = storedLookSheet();
    if (drawn == stored)
        return;
    drawn.save(QStringLiteral("button_looks.actual.png"));
    ASSERT_EQ(stored.size(), drawn.size()) << "tests/data/button_looks.png missing or of another size";
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            ASSERT_EQ(drawn.pixel(x, y), stored.pixel(x, y))
                << "sample " << y / kLookCell << ", look " << x / kLookCell << " at " << x % kLookCell << ","
                << y % kLookCell << "; the drawn sheet is saved as button_looks.actual.png";
}

} // namespace
} // namespace tradumar::testsupport
