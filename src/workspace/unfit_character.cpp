#include "workspace/unfit_character.h"

#include "platform/ansi_text.h"
#include "platform/platform.h"

namespace tradumar {

void reportUnfitCharacter(QWidget* parent, Dialogs& dialogs, const std::string& path, char32_t character) {
    const QString shown = QString::fromUcs4(&character, 1);
    const QString code =
        QStringLiteral("U+%1").arg(static_cast<uint>(character), 4, 16, QLatin1Char('0')).toUpper();
    dialogs.inform(parent,
                   QStringLiteral("El archivo \"%1\" contiene el carácter \"%2\" (%3), que no existe en "
                                  "Windows-1252; no se ha cargado.")
                       .arg(pathToQString(path), shown, code));
}

} // namespace tradumar
