#pragma once

#include <QFont>
#include <QString>

namespace tradumar {

// The button's caption font as its properties describe it: the name as given
// (it is stored back unchanged), the size in points as a fraction (8.25 is a
// common value and decides where the caption starts), and three style flags.
struct ButtonFont {
    QString name = QStringLiteral("ms sans serif");
    double size = 8.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    friend bool operator==(const ButtonFont&, const ButtonFont&) = default;
};

// The installed family drawn in place of a Windows font name. "MS Sans Serif"
// (in any case) and its TrueType successor "Microsoft Sans Serif" are not on a
// Linux desktop; Liberation Sans is, and keeps Arial's widths, which are close
// to theirs. Any other name is passed on for Qt to match or replace.
QString substituteFontFamily(const QString& windowsName);

// The QFont the caption is drawn with. The size becomes a pixel size at 96
// pixels per inch (the layouts are in pixels at that resolution), so the
// caption does not grow with the screen's reported DPI; and the glyphs are
// drawn without antialiasing, in the caption colour only, as a bitmap screen
// font would be.
QFont drawingFont(const ButtonFont& font);

} // namespace tradumar
