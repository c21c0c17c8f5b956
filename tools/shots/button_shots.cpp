// Every look of the self-drawn button, in both shapes, three times enlarged.
#include <QPainter>

#include "controls/button_painter.h"
#include "shot.h"

namespace tradumar::shots {

TRADUMAR_SHOT(buttonLooks, "xp_button_looks.png") {
    const std::pair<ButtonLook, const char*> looks[] = {
        {ButtonLook::Normal, "normal"},          {ButtonLook::Hover, "hover"},
        {ButtonLook::Pressed, "pressed"},        {ButtonLook::ClickedAway, "clicked, left"},
        {ButtonLook::Focused, "clicked, focus"}, {ButtonLook::Disabled, "disabled"}};
    const std::tuple<QSize, QString, bool, Colour> samples[] = {
        {{25, 17}, QStringLiteral("..."), true, 0xFFFFFF},
        {{25, 17}, QStringLiteral("..."), false, 0xFFFFFF},
        {{90, 25}, QStringLiteral("XP_button1"), true, 0xFFFFFF},
        {{90, 25}, QStringLiteral("XP_button1"), false, 0xFFFFFF},
        {{90, 25}, QStringLiteral("XP_button1"), true, 0xFFE0C0},
        {{90, 40}, QStringLiteral("Two lines of caption"), false, 0xC0FFC0},
    };
    const int scale = 3, cellWidth = 100 * scale, labelHeight = 30, rowHeight = 44 * scale, margin = 10;
    QImage sheet(margin + cellWidth * 6, labelHeight + rowHeight * 6, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    QFont labels(QStringLiteral("DejaVu Sans"));
    labels.setPixelSize(15);
    painter.setFont(labels);
    for (int column = 0; column < 6; ++column)
        painter.drawText(QRect(margin + column * cellWidth, 0, cellWidth, labelHeight), Qt::AlignCenter,
                         QString::fromLatin1(looks[column].second));
    for (int row = 0; row < 6; ++row) {
        ButtonFace face;
        std::tie(face.size, face.caption, face.squareStyle, face.backColor) = samples[row];
        face.font = {QStringLiteral("MS Sans Serif"), 8.25};
        for (int column = 0; column < 6; ++column) {
            const QImage look = renderButtonLook(looks[column].first, face, SystemColours::classic());
            const QImage big =
                look.scaled(look.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            painter.drawImage(margin + column * cellWidth + (cellWidth - big.width()) / 2,
                              labelHeight + row * rowHeight + (rowHeight - big.height()) / 2, big);
        }
    }
    return sheet;
}

} // namespace tradumar::shots
