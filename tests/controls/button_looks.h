#pragma once

#include <QImage>

#include "controls/button_painter.h"

namespace tradumar::testsupport {

// A sheet of the button's looks: one row per sample face (with its own system
// colours), one column per look, each drawn at the top left of a cell.
// tests/data/button_looks.png holds the sheet as it was checked by eye.
inline constexpr int kLookCell = 64;
inline constexpr ButtonLook kLooks[] = {ButtonLook::Normal,      ButtonLook::Hover,   ButtonLook::Pressed,
                                        ButtonLook::ClickedAway, ButtonLook::Focused, ButtonLook::Disabled};

struct LookSample {
    ButtonFace face;
    SystemColours system = SystemColours::classic();
};

// Row 0 is a new button named "XP_button1" at 60 x 25, as the widget tests place it.
inline std::vector<LookSample> lookSamples() {
    const SystemColours odd{rgbColour(1, 2, 3), rgbColour(90, 80, 70), rgbColour(200, 220, 240), 0x336699};
    const ButtonFont dialogFont{QStringLiteral("MS Sans Serif"), 8.25};
    const ButtonFont bold{QStringLiteral("MS Sans Serif"), 8.25, true};
    const ButtonFont slanted{QStringLiteral("Arial"), 9, false, true, true};
    return {
        {{QSize(60, 25), true, 0xFFFFFF, 0, QStringLiteral("XP_button1"), {}}},
        {{QSize(25, 17), true, 0xFFFFFF, 0, QStringLiteral("..."), dialogFont}}, // the project dialog's
        {{QSize(40, 20), false, 0xFFFFFF, 0, QStringLiteral("Ab"), {}}},
        {{QSize(50, 24), true, 0xFFFFFE, 0xFF0000, QStringLiteral("&Ab&&c"), bold}},
        {{QSize(40, 60), false, 0xC0FFC0, 0x0000FF, QStringLiteral("Uno dos tres"), slanted}},
        {{QSize(30, 20), true, 0x000000, 0xFFFFFF, QStringLiteral("x"), {}}},
        {{QSize(40, 22), true, 0x80C0FF, 0, QStringLiteral("Sí"), {}}, odd},
        {{QSize(40, 22), false, rgbColour(200, 220, 240), 0, QStringLiteral("Sí"), {}}, odd},
    };
}

inline QImage renderLookSheet() {
    const auto samples = lookSamples();
    const int columns = static_cast<int>(std::size(kLooks));
    QImage sheet(columns * kLookCell, static_cast<int>(samples.size()) * kLookCell, QImage::Format_RGB32);
    sheet.fill(QColor(255, 0, 255));
    for (int row = 0; row < static_cast<int>(samples.size()); ++row)
        for (int column = 0; column < columns; ++column) {
            const QImage look = renderButtonLook(kLooks[column], samples[row].face, samples[row].system);
            for (int y = 0; y < look.height(); ++y)
                for (int x = 0; x < look.width(); ++x)
                    sheet.setPixel(column * kLookCell + x, row * kLookCell + y, look.pixel(x, y));
        }
    return sheet;
}

inline QImage storedLookSheet() {
    return QImage(QStringLiteral(TRADUMAR_TEST_DATA "/button_looks.png"))
        .convertToFormat(QImage::Format_RGB32);
}

// One look of a sample face, as stored.
inline QImage storedLook(int row, ButtonLook look) {
    static const QImage sheet = storedLookSheet();
    const int column =
        static_cast<int>(std::find(std::begin(kLooks), std::end(kLooks), look) - std::begin(kLooks));
    return sheet.copy(column * kLookCell, row * kLookCell,
                      lookSamples()[static_cast<std::size_t>(row)].face.size.width(),
                      lookSamples()[static_cast<std::size_t>(row)].face.size.height());
}

} // namespace tradumar::testsupport
