// Renders every look of the button, in both shapes, into one picture for the
// documentation (docs/xp_button_looks.png). Runs only when TRADUMAR_SHOTS_DIR
// names the folder to write it to:
//   TRADUMAR_SHOTS_DIR=docs build/tests/tradumar_ui_tests --gtest_filter='ButtonLooksShot.*'
#include "controls/button_painter.h"

#include <QDir>
#include <QFont>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace tradumar {
namespace {

TEST(ButtonLooksShot, WritesEveryLookToOnePicture) {
    const QByteArray folder = qgetenv("TRADUMAR_SHOTS_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set TRADUMAR_SHOTS_DIR to write the picture";

    const struct {
        ButtonLook look;
        const char* label;
    } looks[] = {{ButtonLook::Normal, "normal"},          {ButtonLook::Hover, "hover"},
                 {ButtonLook::Pressed, "pressed"},        {ButtonLook::ClickedAway, "clicked, left"},
                 {ButtonLook::Focused, "clicked, focus"}, {ButtonLook::Disabled, "disabled"}};

    struct Sample {
        QSize size;
        QString caption;
        bool square;
        Colour back;
    };
    const Sample samples[] = {
        {{25, 17}, QStringLiteral("..."), true, 0xFFFFFF},
        {{25, 17}, QStringLiteral("..."), false, 0xFFFFFF},
        {{90, 25}, QStringLiteral("XP_button1"), true, 0xFFFFFF},
        {{90, 25}, QStringLiteral("XP_button1"), false, 0xFFFFFF},
        {{90, 25}, QStringLiteral("XP_button1"), true, 0xFFE0C0},
        {{90, 40}, QStringLiteral("Two lines of caption"), false, 0xC0FFC0},
    };

    const int scale = 3;
    const int cellWidth = 100 * scale;
    const int labelHeight = 30;
    const int rowHeight = 44 * scale;
    const int margin = 10;
    QImage sheet(margin + cellWidth * 6, labelHeight + rowHeight * 6, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    QFont labels(QStringLiteral("DejaVu Sans"));
    labels.setPixelSize(15);
    painter.setFont(labels);
    painter.setPen(Qt::black);
    for (int column = 0; column < 6; ++column)
        painter.drawText(QRect(margin + column * cellWidth, 0, cellWidth, labelHeight), Qt::AlignCenter,
                         QString::fromLatin1(looks[column].label));

    for (int row = 0; row < 6; ++row) {
        ButtonFace face;
        face.size = samples[row].size;
        face.caption = samples[row].caption;
        face.squareStyle = samples[row].square;
        face.backColor = samples[row].back;
        face.font.name = QStringLiteral("MS Sans Serif");
        face.font.size = 8.25;
        for (int column = 0; column < 6; ++column) {
            const QImage look = renderButtonLook(looks[column].look, face, SystemColours::classic());
            const QImage big =
                look.scaled(look.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            const int x = margin + column * cellWidth + (cellWidth - big.width()) / 2;
            const int y = labelHeight + row * rowHeight + (rowHeight - big.height()) / 2;
            painter.drawImage(x, y, big);
        }
    }
    painter.end();

    ASSERT_TRUE(QDir().mkpath(QString::fromLocal8Bit(folder)));
    const QString path = QDir(QString::fromLocal8Bit(folder)).filePath(QStringLiteral("xp_button_looks.png"));
    ASSERT_TRUE(sheet.save(path)) << path.toStdString();
}

} // namespace
} // namespace tradumar
