#include "controls/button_painter.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

namespace tradumar {
namespace {

const SystemColours classic = SystemColours::classic();

Colour at(const QImage& image, int x, int y) {
    return fromQRgb(image.pixel(x, y));
}

ButtonFace plainFace(int width, int height, Colour back, bool square = true) {
    ButtonFace face;
    face.size = QSize(width, height);
    face.squareStyle = square;
    face.backColor = back;
    face.caption.clear();
    return face;
}

// Rows of the image that hold at least one pixel of the colour.
std::vector<int> rowsWith(const QImage& image, Colour colour) {
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (at(image, x, y) == colour) {
                rows.push_back(y);
                break;
            }
    return rows;
}

TEST(ColourValues, RedIsTheLowByte) {
    EXPECT_EQ(rgbColour(255, 192, 128), 0x80C0FFu);
    EXPECT_EQ(redOf(0x80C0FF), 255);
    EXPECT_EQ(greenOf(0x80C0FF), 192);
    EXPECT_EQ(blueOf(0x80C0FF), 128);
    EXPECT_EQ(toQColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(fromQColor(QColor(180, 180, 255)), 0xFFB4B4u);
    EXPECT_EQ(fromQRgb(qRgb(255, 192, 128)), 0x80C0FFu);
}

TEST(ButtonFontMapping, WindowsSansSerifBecomesLiberationSans) {
    EXPECT_EQ(substituteFontFamily(QStringLiteral("MS Sans Serif")), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(substituteFontFamily(QStringLiteral("ms sans serif")), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(substituteFontFamily(QStringLiteral("Microsoft Sans Serif")),
              QStringLiteral("Liberation Sans"));
    EXPECT_EQ(substituteFontFamily(QStringLiteral("Tahoma")), QStringLiteral("Tahoma"));

    ButtonFont font;
    font.name = QStringLiteral("MS Sans Serif");
    font.size = 8.25;
    font.bold = true;
    const QFont drawn = drawingFont(font);
    EXPECT_EQ(QFontInfo(drawn).family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(drawn.pixelSize(), 11); // 8.25 points at 96 pixels per inch
    EXPECT_TRUE(drawn.bold());
    EXPECT_FALSE(drawn.italic());
    EXPECT_EQ(drawn.styleStrategy() & QFont::NoAntialias, QFont::NoAntialias);
    font.size = 12;
    EXPECT_EQ(drawingFont(font).pixelSize(), 16);
}

TEST(ShiftColour, FollowsTheBlueRuleAndClamps) {
    struct Case {
        Colour colour;
        std::int32_t amount;
        Colour expected;
    };
    const Case cases[] = {
        {0xFFFFFF, -35, 0xD1DCDC},              // red 220, green 220, blue 209
        {0xFFFFFF, -40, 0xCAD7D7},              // 215, 215, 202
        {0xFFFFFF, 20, 0xFFFFFF},               // lighter than white stays white
        {0x80C0FF, 100, 0xC2FFFF},              // blue 128 + 12800 / 192 = 194; red, green held at 255
        {0x000000, -35, 0x000000},              // nothing below 0
        {0x000000, 100, 0x006464},              // blue 0 never moves
        {rgbColour(50, 50, 100), -1, 0x643131}, // -100 / 192 truncates to 0, not -1
        {rgbColour(50, 50, 1), -100, 0x010000}, // red, green clamp; blue keeps 1
        {0xC0C0C0, 0, 0xC0C0C0},
        {0xFFFFFF, INT32_MIN, 0x000000},
        {0x010101, INT32_MAX, 0xFFFFFF},
        {0xAB123456, 0, 0x123456}, // the fourth byte is not a colour
    };
    for (const Case& c : cases)
        EXPECT_EQ(shiftColour(c.colour, c.amount), c.expected)
            << std::hex << c.colour << " by " << std::dec << c.amount;
}

TEST(GradientAmount, TwentyRowsRoundHalvesToEven) {
    const std::vector<int> expected = {-2,  -4,  -5,  -7,  -9,  -10, -12, -14, -16, -18,
                                       -19, -21, -23, -24, -26, -28, -30, -32, -33, -35};
    std::vector<int> amounts;
    for (int i = 1; i <= 20; ++i)
        amounts.push_back(gradientAmount(i, 20));
    EXPECT_EQ(amounts, expected);
    // -35 x 1 / 2 = -17.5 goes to -18, -35 x 3 / 6 = -17.5 as well; -35 / 14 = -2.5 goes to -2.
    EXPECT_EQ(gradientAmount(1, 2), -18);
    EXPECT_EQ(gradientAmount(1, 14), -2);
    EXPECT_EQ(gradientAmount(3, 14), -8); // -7.5
    EXPECT_EQ(gradientAmount(7, 7), -35);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(6.25), 6);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-0.5), 0);
    EXPECT_EQ(roundHalfEven(-2.51), -3);
}

TEST(CaptionTop, FollowsTheFontSizeNotItsMetrics) {
    EXPECT_EQ(captionTop(25, 8.25, false), 6); // 12.5 - 8.25 + 2 = 6.25
    EXPECT_EQ(captionTop(25, 8.25, true), 7);  // 7.25
    EXPECT_EQ(captionTop(17, 8.25, false), 2); // 2.25
    EXPECT_EQ(captionTop(20, 8.5, false), 4);  // 3.5 to the even 4
    EXPECT_EQ(captionTop(21, 8.0, false), 4);  // 4.5 to the even 4
    EXPECT_EQ(captionTop(10, 12.0, false), -5);
}

TEST(NormalLook, GradientRowsOfATwentyPixelButtonOnWhite) {
    const int w = 40;
    const int h = 20;
    // The inner lines would cover row H - 2: here white is not the highlight.
    SystemColours system = classic;
    system.buttonHighlight = 0xFFFFFE;
    const QImage image = renderButtonLook(ButtonLook::Normal, plainFace(w, h, 0xFFFFFF), system);

    for (int y = 1; y <= h - 2; ++y) {
        const Colour expected = shiftColour(0xFFFFFF, gradientAmount(y + 2, h));
        for (int x = 2; x <= w - 3; ++x)
            ASSERT_EQ(at(image, x, y), expected) << x << "," << y;
    }
    EXPECT_EQ(at(image, 2, h - 2), 0xD1DCDCu);
    EXPECT_EQ(at(image, 2, 1), shiftColour(0xFFFFFF, -5));
    // The gradient spans columns 2 to W - 3; columns 1 and W - 2 keep the face.
    for (int y = 1; y <= h - 2; ++y) {
        EXPECT_EQ(at(image, 1, y), classic.buttonFace);
        EXPECT_EQ(at(image, w - 2, y), classic.buttonFace);
    }
    // The black square outline.
    for (int x = 0; x < w; ++x) {
        EXPECT_EQ(at(image, x, 0), 0u);
        EXPECT_EQ(at(image, x, h - 1), 0u);
    }
    for (int y = 0; y < h; ++y) {
        EXPECT_EQ(at(image, 0, y), 0u);
        EXPECT_EQ(at(image, w - 1, y), 0u);
    }
}

TEST(NormalLook, GreyInnerLinesOnlyWhenTheBaseIsTheHighlight) {
    const int w = 40;
    const int h = 20;
    const QImage onHighlight = renderButtonLook(ButtonLook::Normal, plainFace(w, h, 0xFFFFFF), classic);
    for (int x = 2; x <= w - 3; ++x)
        EXPECT_EQ(at(onHighlight, x, h - 2), 0xC0C0C0u) << x;
    for (int y = 2; y <= h - 3; ++y)
        EXPECT_EQ(at(onHighlight, w - 2, y), 0xC0C0C0u) << y;
    EXPECT_EQ(at(onHighlight, w - 2, 1), classic.buttonFace); // the line starts at row 2
    EXPECT_EQ(at(onHighlight, 1, h - 2), classic.buttonFace);

    const QImage offHighlight = renderButtonLook(ButtonLook::Normal, plainFace(w, h, 0xFFFFFE), classic);
    for (int x = 2; x <= w - 3; ++x)
        EXPECT_EQ(at(offHighlight, x, h - 2), shiftColour(0xFFFFFE, -35)) << x;
    for (int y = 1; y <= h - 2; ++y)
        EXPECT_EQ(at(offHighlight, w - 2, y), classic.buttonFace) << y;
    EXPECT_TRUE(rowsWith(offHighlight, 0xC0C0C0).empty());
}

TEST(NormalLook, RoundedInnerLinesAndGradientRunningIntoTheCorners) {
    const int w = 40;
    const int h = 20;
    const QImage image = renderButtonLook(ButtonLook::Normal, plainFace(w, h, 0xFFFFFF, false), classic);
    // Inner lines from (4, H - 2) to (W - 4, H - 2) and (W - 2, 4) to (W - 2, H - 4).
    EXPECT_EQ(at(image, 3, h - 2), shiftColour(0xFFFFFF, -35));
    for (int x = 4; x <= w - 5; ++x)
        EXPECT_EQ(at(image, x, h - 2), 0xC0C0C0u) << x;
    EXPECT_EQ(at(image, w - 4, h - 2), shiftColour(0xFFFFFF, -35));
    for (int y = 4; y <= h - 5; ++y)
        EXPECT_EQ(at(image, w - 2, y), 0xC0C0C0u) << y;
    EXPECT_EQ(at(image, w - 2, h - 4), classic.buttonFace); // the end point is left out
    EXPECT_EQ(at(image, w - 2, 3), classic.buttonFace);
    // Row 0 of the gradient shows left of the rounded outline's top edge.
    EXPECT_EQ(at(image, 2, 0), shiftColour(0xFFFFFF, gradientAmount(2, h)));
    EXPECT_EQ(at(image, 3, 0), 0u);
    EXPECT_EQ(at(image, 1, 0), classic.buttonFace);
    EXPECT_EQ(at(image, 0, 0), classic.buttonFace);
    EXPECT_EQ(at(image, 0, 3), 0u);
}

TEST(NormalLook, BlackStaysBlackAllTheWayDown) {
    const QImage image = renderButtonLook(ButtonLook::Normal, plainFace(30, 20, 0x000000), classic);
    for (int y = 0; y <= 18; ++y)
        for (int x = 2; x <= 27; ++x)
            ASSERT_EQ(at(image, x, y), 0u);
}

TEST(PressedLook, SameGradientAndLinesWhateverBackColor) {
    const int w = 30;
    const int h = 20;
    const QImage pressed = renderButtonLook(ButtonLook::Pressed, plainFace(w, h, 0x00FF00), classic);
    const QImage onWhite = renderButtonLook(ButtonLook::Pressed, plainFace(w, h, 0xFFFFFF), classic);
    EXPECT_EQ(pressed, onWhite);
    for (int y = 1; y <= h - 3; ++y)
        EXPECT_EQ(at(pressed, 5, y), shiftColour(0xCAD7D7, gradientAmount(y + 2, h))) << y;
    // Highlight-coloured inner lines where the grey ones would be.
    for (int x = 2; x <= w - 3; ++x)
        EXPECT_EQ(at(pressed, x, h - 2), 0xFFFFFFu);
    for (int y = 2; y <= h - 3; ++y)
        EXPECT_EQ(at(pressed, w - 2, y), 0xFFFFFFu);
}

TEST(PressedLook, FollowsTheSystemHighlight) {
    SystemColours system = classic;
    system.buttonHighlight = rgbColour(200, 220, 240);
    const QImage pressed = renderButtonLook(ButtonLook::Pressed, plainFace(30, 20, 0xFFFFFF), system);
    const Colour base = shiftColour(system.buttonHighlight, -40);
    EXPECT_EQ(at(pressed, 5, 1), shiftColour(base, gradientAmount(3, 20)));
    EXPECT_EQ(at(pressed, 5, 18), system.buttonHighlight);
}

TEST(FrameLooks, TwoPixelSquareFramesOnePixelInside) {
    const int w = 30;
    const int h = 20;
    const struct {
        ButtonLook look;
        Colour colour;
    } looks[] = {{ButtonLook::Hover, 0x80C0FF},
                 {ButtonLook::Focused, 0xFF0000},
                 {ButtonLook::ClickedAway, rgbColour(180, 180, 255)}};
    const QImage normal = renderButtonLook(ButtonLook::Normal, plainFace(w, h, 0xFFFFFF), classic);
    for (const auto& l : looks) {
        const QImage image = renderButtonLook(l.look, plainFace(w, h, 0xFFFFFF), classic);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool outline = x == 0 || y == 0 || x == w - 1 || y == h - 1;
                const bool frame = !outline && (x <= 2 || y <= 2 || x >= w - 3 || y >= h - 3);
                if (frame)
                    ASSERT_EQ(at(image, x, y), l.colour) << x << "," << y;
                else
                    ASSERT_EQ(at(image, x, y), at(normal, x, y)) << x << "," << y;
            }
    }
}

TEST(FrameLooks, RoundedFramesFollowTheCornerEllipse) {
    const int w = 30;
    const int h = 20;
    const QImage image = renderButtonLook(ButtonLook::Hover, plainFace(w, h, 0xFFFFFF, false), classic);
    // Frame (1, 1, W - 1, H - 1): its top edge starts 3 in, at x = 4.
    EXPECT_EQ(at(image, 4, 1), 0x80C0FFu);
    EXPECT_NE(at(image, 3, 1), 0x80C0FFu);
    EXPECT_EQ(at(image, 3, 2), 0x80C0FFu);
    EXPECT_EQ(at(image, 1, 4), 0x80C0FFu);
    // Frame (2, 2, W - 2, H - 2): top edge from x = 5, left side from y = 5.
    EXPECT_EQ(at(image, 5, 2), 0x80C0FFu);
    EXPECT_EQ(at(image, 2, 5), 0x80C0FFu);
    EXPECT_EQ(at(image, w - 3, h - 6), 0x80C0FFu);
    // Inside both frames the normal look shows.
    EXPECT_EQ(at(image, 10, 3), shiftColour(0xFFFFFF, gradientAmount(5, h)));
    EXPECT_EQ(at(image, 3, 0), 0u);
}

TEST(DisabledLook, SquareIsFaceWithADarkShadowFrame) {
    const int w = 30;
    const int h = 20;
    ButtonFace face = plainFace(w, h, 0x00FF00);
    face.foreColor = 0x0000FF;
    face.caption = QStringLiteral("Ab");
    const QImage image = renderButtonLook(ButtonLook::Disabled, face, classic);
    int captionPixels = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Colour c = at(image, x, y);
            if (x == 0 || y == 0 || x == w - 1 || y == h - 1)
                ASSERT_EQ(c, classic.darkShadow) << x << "," << y;
            else if (c == classic.buttonShadow)
                ++captionPixels;
            else
                ASSERT_EQ(c, classic.buttonFace) << x << "," << y;
        }
    EXPECT_GT(captionPixels, 10);
}

TEST(DisabledLook, RoundedIsAFilledShadowOutline) {
    const int w = 30;
    const int h = 20;
    SystemColours system = classic;
    system.buttonFace = rgbColour(1, 2, 3); // to tell the fill from untouched pixels
    const QImage image = renderButtonLook(ButtonLook::Disabled, plainFace(w, h, 0xFFFFFF, false), system);
    EXPECT_EQ(at(image, 0, 0), system.buttonFace);
    EXPECT_EQ(at(image, 3, 0), classic.buttonShadow);
    EXPECT_EQ(at(image, 0, 3), classic.buttonShadow);
    EXPECT_EQ(at(image, w - 1, h / 2), classic.buttonShadow);
    EXPECT_EQ(at(image, w / 2, h / 2), system.buttonFace);
    EXPECT_TRUE(rowsWith(image, 0xFFFFFF).empty());
}

TEST(Caption, DrawnInForeColorWithoutAntialiasing) {
    ButtonFace face = plainFace(60, 25, 0x000000);
    face.foreColor = 0x0000FF;
    face.caption = QStringLiteral("Abrir");
    const QImage image = renderButtonLook(ButtonLook::Normal, face, classic);
    int captionPixels = 0;
    for (int y = 1; y < 24; ++y)
        for (int x = 2; x < 58; ++x) {
            const Colour c = at(image, x, y);
            ASSERT_TRUE(c == 0x0000FFu || c == 0u) << x << "," << y << " " << std::hex << c;
            captionPixels += c == 0x0000FFu;
        }
    EXPECT_GT(captionPixels, 20);
}

TEST(Caption, TopComesFromTheFontSize) {
    ButtonFace face = plainFace(60, 25, 0x000000);
    face.foreColor = 0x0000FF;
    face.caption = QStringLiteral("H");
    face.font.size = 8.25;

    const std::vector<int> normal = rowsWith(renderButtonLook(ButtonLook::Normal, face, classic), 0x0000FF);
    ASSERT_FALSE(normal.empty());
    // The text box starts at row 6; the letter's ink starts the font's ascent
    // less the letter's height below it.
    const QFontMetrics metrics(drawingFont(face.font));
    const int inkOffset = metrics.ascent() + metrics.tightBoundingRect(QStringLiteral("H")).top();
    EXPECT_EQ(normal.front(), 6 + inkOffset);

    // Pressed: one row lower.
    const std::vector<int> pressed = rowsWith(renderButtonLook(ButtonLook::Pressed, face, classic), 0x0000FF);
    ASSERT_FALSE(pressed.empty());
    EXPECT_EQ(pressed.front(), 7 + inkOffset);
    EXPECT_EQ(pressed.size(), normal.size());

    // Ten rows taller moves the top by five (17.5 - 8.25 + 2 = 11.25).
    face.size = QSize(60, 35);
    const std::vector<int> taller = rowsWith(renderButtonLook(ButtonLook::Normal, face, classic), 0x0000FF);
    ASSERT_FALSE(taller.empty());
    EXPECT_EQ(taller.front(), 11 + inkOffset);
}

TEST(Caption, WiderThanTheButtonWrapsBelowTheTop) {
    ButtonFace face = plainFace(40, 60, 0x000000);
    face.foreColor = 0x0000FF;
    face.caption = QStringLiteral("Uno dos tres");
    const std::vector<int> rows = rowsWith(renderButtonLook(ButtonLook::Normal, face, classic), 0x0000FF);
    ASSERT_FALSE(rows.empty());
    const int lineHeight = QFontMetrics(drawingFont(face.font)).height();
    EXPECT_GT(rows.back() - rows.front(), lineHeight);
    EXPECT_GE(rows.front(), captionTop(60, 8.0, false));
}

TEST(Caption, EmptyCaptionDrawsNothing) {
    ButtonFace face = plainFace(40, 25, 0x000000);
    face.foreColor = 0x0000FF;
    EXPECT_TRUE(rowsWith(renderButtonLook(ButtonLook::Normal, face, classic), 0x0000FF).empty());
    face.caption = QStringLiteral("x");
    EXPECT_FALSE(rowsWith(renderButtonLook(ButtonLook::Normal, face, classic), 0x0000FF).empty());
}

TEST(Caption, AmpersandUnderlinesTheNextLetterAndDoubledShowsItself) {
    ButtonFace face = plainFace(80, 25, 0x000000);
    face.foreColor = 0x0000FF;
    face.caption = QStringLiteral("&Abrir");
    const QImage marked = renderButtonLook(ButtonLook::Normal, face, classic);
    face.caption = QStringLiteral("Abrir");
    const QImage plain = renderButtonLook(ButtonLook::Normal, face, classic);
    EXPECT_GT(rowsWith(marked, 0x0000FF).back(), rowsWith(plain, 0x0000FF).back()); // the underline
    face.caption = QStringLiteral("A&&B");
    const QImage doubled = renderButtonLook(ButtonLook::Normal, face, classic);
    face.caption = QStringLiteral("A&B");
    EXPECT_NE(doubled, renderButtonLook(ButtonLook::Normal, face, classic));
}

} // namespace
} // namespace tradumar
