#include "controls/gdi_shapes.h"

#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <utility>

namespace tradumar::gdi {

namespace {

// Calls plot for every pixel of the line from `from` to `to`, the end pixel
// excluded (Bresenham, stepping along the longer axis).
template <typename Plot> void walkLine(QPoint from, QPoint to, Plot plot) {
    const int dx = std::abs(to.x() - from.x());
    const int dy = std::abs(to.y() - from.y());
    const int stepX = from.x() < to.x() ? 1 : -1;
    const int stepY = from.y() < to.y() ? 1 : -1;
    int x = from.x();
    int y = from.y();
    int error = dx - dy;
    while (x != to.x() || y != to.y()) {
        plot(x, y);
        const int twice = 2 * error;
        if (twice > -dy) {
            error -= dy;
            x += stepX;
        }
        if (twice < dx) {
            error += dx;
            y += stepY;
        }
    }
}

// One quarter of the ellipse that fills a width x height pixel box, its lower
// right quarter: from the middle of the right side (width - 1, height / 2) to
// the middle of the bottom (width / 2, height - 1), one pixel step at a time.
// This is Alois Zingl's integer walk for an ellipse inside a rectangle ("A
// Rasterizing Algorithm for Drawing Curves", 2012), which places its pixels
// where GDI's ellipses have them: the error terms are kept exactly in 64-bit
// integers, with no rounding anywhere.
std::vector<QPoint> lowerRightQuarter(int width, int height) {
    const std::int64_t a = width - 1;
    const std::int64_t b = height - 1;
    const std::int64_t oddHeight = b % 2;
    const std::int64_t growX = 8 * b * b;
    const std::int64_t growY = 8 * a * a;
    std::int64_t errorStepX = 4 * b * b * (1 - a);
    std::int64_t errorStepY = 4 * a * a * (1 + oddHeight);
    std::int64_t error = errorStepX + errorStepY + a * a * oddHeight;

    std::vector<QPoint> points;
    int x = width - 1;
    int y = height / 2;
    while (x >= width / 2) {
        points.emplace_back(x, y);
        const std::int64_t twice = 2 * error;
        if (twice >= errorStepX) {
            --x;
            errorStepX += growX;
            error += errorStepX;
        }
        if (twice <= errorStepY) {
            ++y;
            errorStepY += growY;
            error += errorStepY;
        }
    }
    return points;
}

std::vector<QPoint> closedOutline(const std::vector<QPoint>& vertices) {
    std::vector<QPoint> pixels;
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const QPoint from = vertices[i];
        const QPoint to = vertices[(i + 1) % vertices.size()];
        if (from == to)
            pixels.push_back(from);
        else
            walkLine(from, to, [&](int x, int y) { pixels.emplace_back(x, y); });
    }
    return pixels;
}

void plotPixel(QPainter& painter, int x, int y, const QColor& colour) {
    painter.fillRect(QRect(x, y, 1, 1), colour);
}

} // namespace

void lineTo(QPainter& painter, QPoint from, QPoint to, Colour colour) {
    const QColor qcolour = toQColor(colour);
    if (from.y() == to.y() && from.x() != to.x()) {
        // One span: the start pixel up to the one before the end.
        const int first = from.x() < to.x() ? from.x() : to.x() + 1;
        painter.fillRect(QRect(first, from.y(), std::abs(to.x() - from.x()), 1), qcolour);
        return;
    }
    if (from.x() == to.x() && from.y() != to.y()) {
        const int first = from.y() < to.y() ? from.y() : to.y() + 1;
        painter.fillRect(QRect(from.x(), first, 1, std::abs(to.y() - from.y())), qcolour);
        return;
    }
    walkLine(from, to, [&](int x, int y) { plotPixel(painter, x, y, qcolour); });
}

void frameRect(QPainter& painter, const Rect& rect, Colour colour) {
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    const QColor qcolour = toQColor(colour);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    painter.fillRect(QRect(rect.left, rect.top, width, 1), qcolour);
    painter.fillRect(QRect(rect.left, rect.bottom - 1, width, 1), qcolour);
    painter.fillRect(QRect(rect.left, rect.top, 1, height), qcolour);
    painter.fillRect(QRect(rect.right - 1, rect.top, 1, height), qcolour);
}

std::vector<QPoint> roundRectOutline(const Rect& given, int ellipseWidth, int ellipseHeight) {
    const int left = std::min(given.left, given.right);
    const int right = std::max(given.left, given.right);
    const int top = std::min(given.top, given.bottom);
    const int bottom = std::max(given.top, given.bottom);
    if (left == right || top == bottom)
        return {};

    const int cornerWidth = std::min(right - left, std::abs(ellipseWidth));
    const int cornerHeight = std::min(bottom - top, std::abs(ellipseHeight));
    if (cornerWidth <= 2 || cornerHeight <= 2)
        return closedOutline({{right - 1, bottom - 1}, {left, bottom - 1}, {left, top}, {right - 1, top}});

    // The top right corner, from the right side up to the top; the other three
    // are its mirror images, chained so that the vertices run round the shape.
    std::vector<QPoint> vertices;
    for (const QPoint& p : lowerRightQuarter(cornerWidth, cornerHeight))
        vertices.emplace_back(right - cornerWidth + p.x(), top + cornerHeight - 1 - p.y());
    const auto mirroredX = [&](const QPoint& p) { return QPoint(left + right - 1 - p.x(), p.y()); };
    const auto mirroredY = [&](const QPoint& p) { return QPoint(p.x(), top + bottom - 1 - p.y()); };

    const std::size_t quarter = vertices.size();
    for (std::size_t i = quarter; i-- > 0;) // top left, from the top down to the left side
        vertices.push_back(mirroredX(vertices[i]));
    for (std::size_t i = 2 * quarter; i-- > quarter;) // bottom left, from the left side to the bottom
        vertices.push_back(mirroredY(vertices[i]));
    for (std::size_t i = 3 * quarter; i-- > 2 * quarter;) // bottom right, from the bottom to the right side
        vertices.push_back(mirroredX(vertices[i]));
    return closedOutline(vertices);
}

void roundRect(QPainter& painter, const Rect& rect, int ellipseWidth, int ellipseHeight, Colour pen,
               std::optional<Colour> fill) {
    const std::vector<QPoint> outline = roundRectOutline(rect, ellipseWidth, ellipseHeight);
    if (fill) {
        std::map<int, std::pair<int, int>> rows;
        for (const QPoint& p : outline) {
            auto [it, inserted] = rows.try_emplace(p.y(), p.x(), p.x());
            if (!inserted) {
                it->second.first = std::min(it->second.first, p.x());
                it->second.second = std::max(it->second.second, p.x());
            }
        }
        const QColor brush = toQColor(*fill);
        for (const auto& [y, span] : rows)
            painter.fillRect(QRect(span.first, y, span.second - span.first + 1, 1), brush);
    }
    const QColor qpen = toQColor(pen);
    for (const QPoint& p : outline)
        plotPixel(painter, p.x(), p.y(), qpen);
}

} // namespace tradumar::gdi
