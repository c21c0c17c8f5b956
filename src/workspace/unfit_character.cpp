#include "workspace/unfit_character.h"

#include "platform/ansi_text.h"
#include "platform/platform.h"

namespace tradumar {

QString unfitCharacterText(char32_t character) {
    return QStringLiteral("el carácter \"%1\" (U+%2), que no existe en Windows-1252")
        .arg(QString::fromUcs4(&character, 1),
             QStringLiteral("%1").arg(static_cast<uint>(character), 4, 16, QLatin1Char('0')).toUpper());
}

void reportUnfitCharacter(QWidget* parent, Dialogs& dialogs, const std::string& path, char32_t character) {
    dialogs.inform(parent, QStringLiteral("El archivo \"%1\" contiene %2; no se ha cargado.")
                               .arg(pathToQString(path), unfitCharacterText(character)));
}

} // namespace tradumar
