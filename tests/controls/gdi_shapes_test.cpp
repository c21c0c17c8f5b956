#include "controls/gdi_shapes.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

namespace tradumar {
namespace {

// What the drawing leaves on a black surface, rows joined by '|': '#' for the
// pen, 'o' for the brush, '.' for untouched pixels.
std::string drawn(int width, int height, const std::function<void(QPainter&)>& draw) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    draw(painter);
    painter.end();
    std::string rows;
    for (int y = 0; y < height; ++y) {
        rows += y ? "|" : "";
        for (int x = 0; x < width; ++x) {
            const Colour c = fromQRgb(image.pixel(x, y));
            rows += c == 0xFFFFFF ? '#' : c == 0xFF0000 ? 'o' : '.';
        }
    }
    return rows;
}

TEST(GdiShapes, LinesLeaveOutTheirEndPointInEveryDirection) {
    const std::tuple<QPoint, QPoint, std::string> cases[] = {
        {{1, 1}, {4, 1}, ".....|.###.|....."},  {{4, 1}, {1, 1}, ".....|..###|....."},
        {{2, 0}, {2, 2}, "..#..|..#..|....."},  {{2, 2}, {2, 0}, ".....|..#..|..#.."},
        {{2, 2}, {2, 2}, ".....|.....|....."},  {{0, 0}, {3, 2}, "#....|.##..|....."},
        {{2, -1}, {2, 9}, "..#..|..#..|..#.."}, // clipped at the surface's edge
    };
    for (const auto& [from, to, expected] : cases)
        EXPECT_EQ(drawn(5, 3, [&](QPainter& p) { gdi::lineTo(p, from, to, 0xFFFFFF); }), expected)
            << from.x() << "," << from.y() << " to " << to.x() << "," << to.y();
}

// The 10 x 10 corners of the button's own size are checked by its stored looks.
TEST(GdiShapes, RectanglesAndRoundedRectangles) {
    const auto frame = [](gdi::Rect r) { return [r](QPainter& p) { gdi::frameRect(p, r, 0xFFFFFF); }; };
    const auto round = [](gdi::Rect r, int cornerWidth, int cornerHeight, bool fill = false) {
        return [=](QPainter& p) {
            gdi::roundRect(p, r, cornerWidth, cornerHeight, 0xFFFFFF,
                           fill ? std::optional<Colour>(0xFF0000) : std::nullopt);
        };
    };
    const std::tuple<const char*, std::function<void(QPainter&)>, std::string> cases[] = {
        {"frame just inside", frame({1, 1, 6, 5}), ".......|.#####.|.#...#.|.#...#.|.#####.|......."},
        {"empty frame", frame({2, 2, 2, 5}), ".......|.......|.......|.......|.......|......."},
        {"inverted frame", frame({5, 5, 1, 1}), ".......|.......|.......|.......|.......|......."},
        {"corner box held to the size", round({0, 0, 6, 5}, 10, 10), ".####.|#....#|#....#|#....#|.####."},
        {"inverted, put in order", round({6, 5, 0, 0}, 10, 10), ".####.|#....#|#....#|#....#|.####."},
        {"filled, outline over it", round({0, 0, 6, 5}, 10, 10, true), ".####.|#oooo#|#oooo#|#oooo#|.####."},
        {"tiny corners: a plain outline", round({0, 0, 5, 4}, 2, 10), "#####|#...#|#...#|#####"},
        {"empty", round({3, 3, 3, 9}, 10, 10), "......|......|......|......"},
    };
    for (const auto& [what, draw, expected] : cases) {
        const int width = static_cast<int>(expected.find('|'));
        const int height = static_cast<int>(std::count(expected.begin(), expected.end(), '|')) + 1;
        EXPECT_EQ(drawn(width, height, draw), expected) << what;
    }
}

} // namespace
} // namespace tradumar
