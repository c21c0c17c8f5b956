#pragma once

#include <QColor>

#include <cstdint>

namespace tradumar {

// A colour as the button's properties and stored values carry it: red in the
// low byte, then green, then blue (0x80C0FF is red 255, green 192, blue 128).
// The fourth byte is kept as given and ignored when drawing.
using Colour = std::uint32_t;

constexpr Colour rgbColour(int red, int green, int blue) {
    return static_cast<Colour>(red & 0xFF) | (static_cast<Colour>(green & 0xFF) << 8) |
           (static_cast<Colour>(blue & 0xFF) << 16);
}

constexpr int redOf(Colour colour) {
    return static_cast<int>(colour & 0xFF);
}
constexpr int greenOf(Colour colour) {
    return static_cast<int>((colour >> 8) & 0xFF);
}
constexpr int blueOf(Colour colour) {
    return static_cast<int>((colour >> 16) & 0xFF);
}

inline QColor toQColor(Colour colour) {
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

inline Colour fromQColor(const QColor& colour) {
    return rgbColour(colour.red(), colour.green(), colour.blue());
}

// QImage pixels (QRgb, 0xAARRGGBB) back to our byte order, for reading drawn surfaces.
inline Colour fromQRgb(unsigned int pixel) {
    return rgbColour(static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
                     static_cast<int>(pixel & 0xFF));
}

} // namespace tradumar
