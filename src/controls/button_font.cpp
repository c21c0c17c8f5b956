#include "controls/button_font.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace tradumar {

QString substituteFontFamily(const QString& windowsName) {
    const QString key = windowsName.trimmed();
    if (key.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0 ||
        key.compare(QLatin1String("Microsoft Sans Serif"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Sans");
    return windowsName;
}

QFont drawingFont(const ButtonFont& font) {
    QFont result(substituteFontFamily(font.name));
    // DejaVu Sans is on every Debian desktop that has Qt; it stands in when the
    // family above is missing rather than whatever Qt would pick.
    result.setFamilies(QStringList{result.family(), QStringLiteral("DejaVu Sans")});
    const double points = std::isfinite(font.size) ? std::clamp(font.size, 0.0, 750.0) : 8.0;
    result.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))));
    result.setBold(font.bold);
    result.setItalic(font.italic);
    result.setUnderline(font.underline);
    result.setStyleStrategy(QFont::NoAntialias);
    return result;
}

} // namespace tradumar
