#pragma once

#include "controls/button_font.h"
#include "controls/colour.h"
#include "controls/system_colours.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>

class QPainter;

namespace tradumar {

// Frame colours of the button's framed looks.
inline constexpr Colour hoverFrameColour = 0x80C0FF;                   // orange: pointer over it
inline constexpr Colour focusFrameColour = 0xFF0000;                   // blue: clicked and focused again
inline constexpr Colour clickedFrameColour = rgbColour(180, 180, 255); // clicked, pointer gone

// Everything of a button that its looks depend on, besides the system colours.
struct ButtonFace {
    QSize size;              // the client area, W x H pixels
    bool squareStyle = true; // false: rounded corners
    Colour backColor = 0xFFFFFF;
    Colour foreColor = 0;
    QString caption;
    ButtonFont font;
};

enum class ButtonLook {
    Normal,      // the gradient from backColor
    Hover,       // normal plus the orange frame
    Pressed,     // the gradient from the highlight colour shifted by -40, caption one pixel lower
    ClickedAway, // normal plus the light blue frame
    Focused,     // normal plus the blue frame
    Disabled,    // face-coloured, no gradient, caption in the shadow colour
};

// A lighter (positive amount) or darker (negative) colour. Red and green move
// by the full amount, blue by amount x blue / 192 (truncated toward zero), so
// that darkening white gives the warm grey of the gradient's foot. Each part
// is held to 0..255.
Colour shiftColour(Colour colour, std::int32_t amount);

// Rounds to the nearest whole number, halves to the even neighbour.
int roundHalfEven(double value);

// The shift of gradient line `counter` (1..height): -35 x counter / height,
// rounded halves to even. Line `counter` lies on row counter - 2.
int gradientAmount(int counter, int height);

// Where the caption's first line starts: height / 2 - point size + 2 (3 when
// lowered for the pressed look), rounded halves to even. It follows the font's
// nominal size rather than its measured height, so the caption sits where the
// button was designed to have it whatever font stands in for the original.
int captionTop(int height, double pointSize, bool lowered);

// Draws the button's looks on a painter whose device is the button's surface,
// (0, 0) at its top left corner. Each routine draws its look completely.
class ButtonPainter {
public:
    ButtonPainter(QPainter& painter, const ButtonFace& face, const SystemColours& system);

    // Clears to the face colour, draws the gradient from `base`, the outline,
    // the light grey inner lines when base is the highlight colour, and the
    // caption.
    void drawNormal(Colour base);
    // The normal look from backColor with a two-pixel frame of `colour` one
    // pixel inside the outline.
    void drawFrame(Colour colour);
    void drawPressed();
    void drawDisabled();

private:
    void clear();
    void drawCaption(Colour textColour);
    void drawInnerLines(Colour colour);

    QPainter& m_painter;
    const ButtonFace& m_face;
    SystemColours m_system;
    int m_width;
    int m_height;
    bool m_textLowered = false; // set by the pressed look, spent by the next caption
};

// Paints one look, as the button shows it, onto the painter.
void paintButtonLook(QPainter& painter, ButtonLook look, const ButtonFace& face, const SystemColours& system);

// The look on a fresh image of the face's size.
QImage renderButtonLook(ButtonLook look, const ButtonFace& face,
                        const SystemColours& system = currentSystemColours());

} // namespace tradumar
