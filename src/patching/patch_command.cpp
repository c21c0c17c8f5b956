#include "patching/patch_command.h"

#include <QFileInfo>

#include "common/file_io.h"
#include "patching/patch_export.h"
#include "platform/qt_text.h"
#include "platform/platform.h"
#include "project/project_dialog.h"
#include "workspace/script_files.h"

namespace tradumar {

void createPatch(QWidget* parent, Dialogs& dialogs, const std::string& romPath) {
    const QString romFolder = QFileInfo(pathToQString(romPath)).absolutePath();
    std::string sourcePath = originalRomPathOf(romPath);
    if (!pathExists(sourcePath)) {
        // No insertion has kept a copy yet: the translator has the original.
        FileRequest request;
        request.title = QStringLiteral("Seleccione la ROM original, sin traducir");
        request.filter = ProjectDialog::romFilter();
        request.initialFolder = romFolder;
        const QString chosen = dialogs.openFile(parent, request);
        if (chosen.isEmpty())
            return;
        sourcePath = pathFromQString(chosen);
    }

    FileRequest request;
    request.title = QStringLiteral("Crear parche");
    request.filter = QStringLiteral("Parche BPS (*.bps)|*.bps|Parche IPS (*.ips)|*.ips");
    request.initialFolder = romFolder;
    request.mustExist = false;
    const QString chosen = dialogs.saveFile(parent, request);
    if (chosen.isEmpty())
        return;

    const PatchExport outcome = exportPatch(sourcePath, romPath, pathFromQString(chosen));
    switch (outcome.status) {
    case PatchExport::Status::Written:
        dialogs.inform(parent, QStringLiteral("Se ha creado el parche ") + chosen + QStringLiteral(" (") +
                                   QString::number(outcome.patchSize) + QStringLiteral(" bytes) con ") +
                                   QString::number(outcome.changedBytes) +
                                   QStringLiteral(" bytes cambiados."));
        return;
    case PatchExport::Status::UnknownFormat:
        dialogs.inform(parent, QStringLiteral("El nombre del parche debe terminar en .bps o en .ips."));
        return;
    case PatchExport::Status::SourceUnreadable:
        dialogs.inform(parent, QStringLiteral("No se pudo leer la ROM original ") +
                                   pathToQString(sourcePath) + QLatin1Char('.'));
        return;
    case PatchExport::Status::TargetUnreadable:
        dialogs.inform(parent,
                       QStringLiteral("No se pudo leer la ROM ") + pathToQString(romPath) + QLatin1Char('.'));
        return;
    case PatchExport::Status::TooLargeForIps:
        dialogs.inform(parent, QStringLiteral("La ROM mide más de 16 MB, más de lo que un parche IPS puede "
                                              "describir.\r\nCree un parche BPS."));
        return;
    case PatchExport::Status::WriteFailed:
        dialogs.inform(parent, QStringLiteral("No se pudo escribir el parche: ") +
                                   toQString(describeError(outcome.error)));
        return;
    }
}

} // namespace tradumar
