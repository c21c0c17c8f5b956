#include "workspace/emulator.h"

#include <QFileInfo>
#include <QStringList>

#include "platform/platform.h"
#include "platform/qt_text.h"
#include "project/project_settings.h"

namespace tradumar {

void runEmulator(QWidget* parent, const ProjectSettings& settings, Dialogs& dialogs,
                 ProcessLauncher& launcher) {
    const QString failed = QStringLiteral("Un error ocurrió al ejecutar el emulador.");
    if (settings.emulatorPath.empty()) {
        dialogs.inform(parent, failed);
        return;
    }
    const QString emulator = pathToQString(settings.emulatorPath);
    // A file that is not there or cannot run is said once, as it is; a
    // start without the ROM would fail the same way.
    const QFileInfo info(emulator);
    if (!info.exists()) {
        dialogs.inform(parent,
                       QStringLiteral("No se puede ejecutar el emulador: no existe el archivo ") + emulator);
        return;
    }
    if (!info.isFile() || !info.isExecutable()) {
        dialogs.inform(parent, QStringLiteral("No se puede ejecutar el emulador: ") + emulator +
                                   QStringLiteral(" no es un programa ejecutable"));
        return;
    }
    QStringList arguments;
    if (!settings.romPath.empty())
        arguments << pathToQString(settings.romPath);
    if (launcher.startDetached(emulator, arguments))
        return;

    dialogs.inform(parent, QStringLiteral("Emulador no permite ejecutar línea de comandos,\r\n"
                                          " tendrá que abrir la ROM manualmente."));
    // The emulator alone; if even that fails, say so rather than stay silent.
    if (!launcher.startDetached(emulator, {}))
        dialogs.inform(parent, failed);
}

} // namespace tradumar
