#include "workspace/emulator.h"

#include <QStringList>

#include "platform/ansi_text.h"
#include "platform/platform.h"
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
