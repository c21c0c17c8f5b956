#include "workspace/undecodable_file.h"

#include "platform/platform.h"
#include "platform/qt_text.h"
#include "project/project_messages.h"

namespace tradumar {

void reportUndecodableFile(QWidget* parent, Dialogs& dialogs, const std::string& path, LegacyCodePage legacy,
                           std::size_t offset, unsigned char byte) {
    dialogs.inform(
        parent, QStringLiteral("El archivo \"%1\" %2; no se ha cargado.")
                    .arg(pathToQString(path), QString::fromStdString(undecodableText(legacy, offset, byte))));
}

} // namespace tradumar
