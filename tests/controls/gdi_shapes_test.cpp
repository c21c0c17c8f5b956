#include "controls/gdi_shapes.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>

namespace tradumar {
namespace {

constexpr Colour background = 0x000000;
constexpr Colour ink = 0xFFFFFF;
constexpr Colour brush = 0x0000FF;

QImage drawn(int width, int height, const std::function<void(QPainter&)>& draw) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(toQColor(background));
    QPainter painter(&image);
    draw(painter);
    return image;
}

// The image as rows of '#' (ink), 'o' (brush) and '.' (untouched).
std::string picture(const QImage& image) {
    std::string rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const Colour c = fromQRgb(image.pixel(x, y));
            rows += c == ink ? '#' : c == brush ? 'o' : '.';
        }
        rows += '\n';
    }
    return rows;
}

TEST(GdiLineTo, LeavesOutTheEndPointInEveryDirection) {
    struct Case {
        QPoint from;
        QPoint to;
        std::string expected;
    };
    const Case cases[] = {
        {{1, 1}, {4, 1}, ".....\n.###.\n.....\n.....\n"}, {{4, 1}, {1, 1}, ".....\n..###\n.....\n.....\n"},
        {{2, 0}, {2, 3}, "..#..\n..#..\n..#..\n.....\n"}, {{2, 3}, {2, 0}, ".....\n..#..\n..#..\n..#..\n"},
        {{2, 2}, {2, 2}, ".....\n.....\n.....\n.....\n"}, {{0, 0}, {3, 3}, "#....\n.#...\n..#..\n.....\n"},
    };
    for (const Case& c : cases) {
        const QImage image = drawn(5, 4, [&](QPainter& p) { gdi::lineTo(p, c.from, c.to, ink); });
        EXPECT_EQ(picture(image), c.expected) << "from " << c.from.x() << "," << c.from.y();
    }
}

TEST(GdiLineTo, ClipsAtTheSurfaceEdge) {
    const QImage image = drawn(4, 2, [](QPainter& p) { gdi::lineTo(p, {2, -1}, {2, 5}, ink); });
    EXPECT_EQ(picture(image), "..#.\n..#.\n");
}

TEST(GdiFrameRect, DrawsOnePixelJustInsideTheRectangle) {
    const QImage image = drawn(7, 6, [](QPainter& p) { gdi::frameRect(p, {1, 1, 6, 5}, ink); });
    EXPECT_EQ(picture(image), ".......\n"
                              ".#####.\n"
                              ".#...#.\n"
                              ".#...#.\n"
                              ".#####.\n"
                              ".......\n");
}

TEST(GdiFrameRect, EmptyOrInvertedRectanglesDrawNothing) {
    for (const gdi::Rect rect : {gdi::Rect{2, 2, 2, 5}, gdi::Rect{2, 2, 5, 2}, gdi::Rect{5, 5, 1, 1}}) {
        const QImage image = drawn(6, 6, [&](QPainter& p) { gdi::frameRect(p, rect, ink); });
        EXPECT_EQ(picture(image).find('#'), std::string::npos);
    }
}

TEST(GdiRoundRect, TenByTenCornersOnAWideRectangle) {
    const QImage image = drawn(16, 14, [](QPainter& p) { gdi::roundRect(p, {0, 0, 16, 14}, 10, 10, ink); });
    EXPECT_EQ(picture(image), "...##########...\n"
                              "..#..........#..\n"
                              ".#............#.\n"
                              "#..............#\n"
                              "#..............#\n"
                              "#..............#\n"
                              "#..............#\n"
                              "#..............#\n"
                              "#..............#\n"
                              "#..............#\n"
                              "#..............#\n"
                              ".#............#.\n"
                              "..#..........#..\n"
                              "...##########...\n");
}

TEST(GdiRoundRect, CornerShrinksToASmallRectangle) {
    // 6 x 5: the corner ellipse is limited to the rectangle's own size.
    const QImage image = drawn(6, 5, [](QPainter& p) { gdi::roundRect(p, {0, 0, 6, 5}, 10, 10, ink); });
    EXPECT_EQ(picture(image), ".####.\n"
                              "#....#\n"
                              "#....#\n"
                              "#....#\n"
                              ".####.\n");
}

TEST(GdiRoundRect, TinyCornersGiveThePlainRectangle) {
    const QImage image = drawn(5, 4, [](QPainter& p) { gdi::roundRect(p, {0, 0, 5, 4}, 2, 10, ink); });
    EXPECT_EQ(picture(image), "#####\n#...#\n#...#\n#####\n");
}

TEST(GdiRoundRect, InvertedRectangleIsPutInOrderAndEmptyOneDrawsNothing) {
    const auto outline = [](gdi::Rect r) {
        const auto points = gdi::roundRectOutline(r, 10, 10);
        std::set<std::pair<int, int>> set;
        for (const QPoint& p : points)
            set.emplace(p.x(), p.y());
        return set;
    };
    EXPECT_EQ(outline({20, 15, 0, 0}), outline({0, 0, 20, 15}));
    EXPECT_TRUE(gdi::roundRectOutline({3, 3, 3, 9}, 10, 10).empty());
}

TEST(GdiRoundRect, FillCoversTheInsideOnlyAndTheOutlineGoesOverIt) {
    const QImage image = drawn(16, 14, [](QPainter& p) {
        gdi::roundRect(p, {0, 0, 16, 14}, 10, 10, ink, brush);
    });
    const std::string rows = picture(image);
    EXPECT_EQ(rows.substr(0, 17 * 4), "...##########...\n"
                                      "..#oooooooooo#..\n"
                                      ".#oooooooooooo#.\n"
                                      "#oooooooooooooo#\n");
    EXPECT_EQ(rows.substr(17 * 13), "...##########...\n");
}

} // namespace
} // namespace tradumar
