#pragma once

#include "controls/colour.h"

#include <QPoint>

#include <optional>
#include <vector>

class QPainter;

namespace tradumar::gdi {

// The few Windows GDI drawing operations the button's looks are defined by,
// reproduced pixel for pixel on a QPainter (which must draw without
// antialiasing and without a transform). Qt's own drawLine and drawRoundedRect
// place their pixels differently: Qt draws a line's end point and rounds its
// corners with an antialiased curve.

// A rectangle as GDI takes it: right and bottom lie just outside.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// MoveToEx + LineTo with a one-pixel solid pen: every pixel from `from` up to
// `to`, without `to` itself. Lines of equal ends draw nothing.
void lineTo(QPainter& painter, QPoint from, QPoint to, Colour colour);

// FrameRect with a solid brush: columns left and right - 1, rows top and
// bottom - 1. An empty or inverted rectangle draws nothing, as in GDI.
void frameRect(QPainter& painter, const Rect& rect, Colour colour);

// The pixels GDI's RoundRect outlines with a one-pixel pen, for a corner
// ellipse of the given width and height: the outline runs along columns left
// and right - 1 and rows top and bottom - 1, and each corner is the quarter of
// an ellipse filling a box of min(width, ellipseWidth) by
// min(height, ellipseHeight) pixels at that corner, stepped the way GDI steps
// its ellipses (a midpoint walk in integers; for a 10 x 10 corner the first
// five rows start 3, 2, 1, 0 and 0 pixels in). Like RoundRect, an inverted
// rectangle is put in order first, an empty one gives nothing, and a corner
// box of 2 pixels or less gives the plain rectangle outline. The pixels come
// in drawing order, round the shape, possibly with repeats.
std::vector<QPoint> roundRectOutline(const Rect& rect, int ellipseWidth, int ellipseHeight);

// RoundRect with a one-pixel solid pen of `pen` and, when `fill` is given, a
// solid brush: the fill covers every row between the outline's leftmost and
// rightmost pixel and the outline is drawn over it; without a fill only the
// outline is drawn.
void roundRect(QPainter& painter, const Rect& rect, int ellipseWidth, int ellipseHeight, Colour pen,
               std::optional<Colour> fill = std::nullopt);

} // namespace tradumar::gdi
