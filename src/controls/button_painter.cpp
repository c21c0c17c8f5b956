#include "controls/button_painter.h"

#include "controls/gdi_shapes.h"

#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>

namespace tradumar {

namespace {

// The corner ellipse of the rounded shape.
constexpr int cornerSize = 10;

// 0.75 of grey: the inner lines of the normal look on the highlight colour.
constexpr Colour innerLineGrey = 0xC0C0C0;

int clampedComponent(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, 255));
}

} // namespace

Colour shiftColour(Colour colour, std::int32_t amount) {
    // Widened so that no amount, however large, overflows before the clamp.
    const std::int64_t shift = amount;
    const std::int64_t blue = blueOf(colour);
    const int red = clampedComponent(redOf(colour) + shift);
    const int green = clampedComponent(greenOf(colour) + shift);
    const int newBlue = clampedComponent(blue + blue * shift / 192); // C++ division truncates toward zero
    return rgbColour(red, green, newBlue);
}

int roundHalfEven(double value) {
    if (!std::isfinite(value))
        return 0;
    // nearbyint follows the default rounding mode, which rounds halves to even.
    const double rounded = std::nearbyint(std::clamp(value, double(INT_MIN), double(INT_MAX)));
    return static_cast<int>(rounded);
}

int gradientAmount(int counter, int height) {
    if (height <= 0)
        return 0;
    // Exact rational rounding of -35 * counter / height, halves to even.
    const std::int64_t numerator = -35LL * counter;
    std::int64_t quotient = numerator / height;
    std::int64_t remainder = numerator % height; // same sign as the numerator (or zero)
    if (remainder < 0) {                         // make 0 <= remainder < height, quotient the floor
        remainder += height;
        --quotient;
    }
    const std::int64_t twice = 2 * remainder;
    if (twice > height || (twice == height && quotient % 2 != 0))
        ++quotient;
    return static_cast<int>(quotient);
}

int captionTop(int height, double pointSize, bool lowered) {
    return roundHalfEven(height / 2.0 - pointSize + (lowered ? 3 : 2));
}

ButtonPainter::ButtonPainter(QPainter& painter, const ButtonFace& face, const SystemColours& system)
    : m_painter(painter), m_face(face), m_system(system), m_width(face.size.width()),
      m_height(face.size.height()) {
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, false);
}

void ButtonPainter::clear() {
    m_painter.fillRect(QRect(0, 0, m_width, m_height), toQColor(m_system.buttonFace));
}

void ButtonPainter::drawNormal(Colour base) {
    clear();
    // Line `i` lies on row i - 2: the first falls above the surface and the
    // last visible one (row H - 2) carries the full -35.
    for (int i = 1; i <= m_height; ++i)
        gdi::lineTo(m_painter, {2, i - 2}, {m_width - 2, i - 2},
                    shiftColour(base, gradientAmount(i, m_height)));

    if (m_face.squareStyle)
        gdi::frameRect(m_painter, {0, 0, m_width, m_height}, 0x000000);
    else
        gdi::roundRect(m_painter, {0, 0, m_width, m_height}, cornerSize, cornerSize, 0x000000);

    if (base == m_system.buttonHighlight)
        drawInnerLines(innerLineGrey);

    drawCaption(m_face.foreColor);
}

void ButtonPainter::drawInnerLines(Colour colour) {
    const int w = m_width;
    const int h = m_height;
    if (m_face.squareStyle) {
        gdi::lineTo(m_painter, {2, h - 2}, {w - 2, h - 2}, colour);
        gdi::lineTo(m_painter, {w - 2, 2}, {w - 2, h - 2}, colour);
    } else {
        gdi::lineTo(m_painter, {4, h - 2}, {w - 4, h - 2}, colour);
        gdi::lineTo(m_painter, {w - 2, 4}, {w - 2, h - 4}, colour);
    }
}

void ButtonPainter::drawFrame(Colour colour) {
    drawNormal(m_face.backColor);
    for (int i = 1; i <= 2; ++i) {
        const gdi::Rect rect{i, i, m_width - i, m_height - i};
        if (m_face.squareStyle)
            gdi::frameRect(m_painter, rect, colour);
        else
            gdi::roundRect(m_painter, rect, cornerSize, cornerSize, colour);
    }
}

void ButtonPainter::drawPressed() {
    m_textLowered = true;
    // Always from the system highlight, whatever BackColor is: every pressed
    // button looks the same.
    drawNormal(shiftColour(m_system.buttonHighlight, -40));
    drawInnerLines(m_system.buttonHighlight);
}

void ButtonPainter::drawDisabled() {
    clear();
    if (m_face.squareStyle) {
        m_painter.fillRect(QRect(0, 0, m_width, m_height), toQColor(m_system.buttonFace));
        gdi::frameRect(m_painter, {0, 0, m_width, m_height}, m_system.darkShadow);
    } else {
        gdi::roundRect(m_painter, {0, 0, m_width, m_height}, cornerSize, cornerSize, m_system.buttonShadow,
                       m_system.buttonFace);
    }
    drawCaption(m_system.buttonShadow);
}

void ButtonPainter::drawCaption(Colour textColour) {
    const int top = captionTop(m_height, m_face.font.size, m_textLowered);
    m_textLowered = false;
    if (m_face.caption.isEmpty() || top >= m_height)
        return;

    // Like DrawText with DT_CENTER | DT_WORDBREAK: centred, wrapped at word
    // boundaries, breaking at CR, LF or CR LF, "&" marking the next letter for
    // underlining ("&&" is a plain "&"), clipped to the rectangle from the top
    // down to the bottom of the surface, no background behind the letters.
    QString text = m_face.caption;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    m_painter.save();
    m_painter.setFont(drawingFont(m_face.font));
    m_painter.setPen(toQColor(textColour));
    m_painter.setBackgroundMode(Qt::TransparentMode);
    m_painter.drawText(QRect(0, top, m_width, m_height - top),
                       Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic, text);
    m_painter.restore();
}

void paintButtonLook(QPainter& painter, ButtonLook look, const ButtonFace& face,
                     const SystemColours& system) {
    ButtonPainter drawer(painter, face, system);
    switch (look) {
    case ButtonLook::Normal:
        drawer.drawNormal(face.backColor);
        break;
    case ButtonLook::Hover:
        drawer.drawFrame(hoverFrameColour);
        break;
    case ButtonLook::Pressed:
        drawer.drawPressed();
        break;
    case ButtonLook::ClickedAway:
        drawer.drawFrame(clickedFrameColour);
        break;
    case ButtonLook::Focused:
        drawer.drawFrame(focusFrameColour);
        break;
    case ButtonLook::Disabled:
        drawer.drawDisabled();
        break;
    }
}

QImage renderButtonLook(ButtonLook look, const ButtonFace& face, const SystemColours& system) {
    QImage image(face.size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    paintButtonLook(painter, look, face, system);
    return image;
}

} // namespace tradumar
