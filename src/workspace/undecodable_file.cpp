#include "workspace/undecodable_file.h"

#include "platform/platform.h"
#include "platform/qt_text.h"

namespace tradumar {

QString undecodableText(LegacyCodePage legacy, std::size_t offset, unsigned char byte) {
    return QStringLiteral("no está en UTF-8 ni en %1 (byte 0x%2 en la posición %3)")
        .arg(QString::fromLatin1(legacyCodePageName(legacy)),
             QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper(), QString::number(offset));
}

void reportUndecodableFile(QWidget* parent, Dialogs& dialogs, const std::string& path, LegacyCodePage legacy,
                           std::size_t offset, unsigned char byte) {
    dialogs.inform(parent, QStringLiteral("El archivo \"%1\" %2; no se ha cargado.")
                               .arg(pathToQString(path), undecodableText(legacy, offset, byte)));
}

} // namespace tradumar
