#include "patching/patch_command.h"

#include <QFileInfo>

#include "checksum/rom_checksum.h"
#include "common/file_io.h"
#include "insertion/insertion_journal.h"
#include "insertion/journal_messages.h"
#include "patching/patch_export.h"
#include "platform/platform.h"
#include "platform/qt_text.h"
#include "project/project_dialog.h"
#include "project/project_settings.h"
#include "project/script_files.h"

namespace tradumar {

namespace {

QString utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString crcText(std::uint32_t crc) {
    return QStringLiteral("%1").arg(crc, 8, 16, QLatin1Char('0')).toUpper();
}

} // namespace

void createPatch(QWidget* parent, Dialogs& dialogs, const ProjectSettings& settings) {
    const std::string& romPath = settings.romPath;
    // An insertion or an undo that a killed process left unfinished is
    // settled before the ROM is read.
    const ProjectFiles files = projectFilesFor(settings);
    FileOps ops;
    if (const SettleOutcome settled = settleJournal(files, ops); !settled.contents) {
        QString text = QString::number(settled.error) + QStringLiteral(": No se pudo crear el parche");
        if (const std::string why = journalFailureText(settled); !why.empty())
            text += QStringLiteral("\r\n") + utf8(why);
        dialogs.inform(parent, text);
        return;
    }
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

    // A patch that changes nothing helps no one: the translator is asked first.
    const std::optional<std::string> source = readWholeFile(sourcePath);
    if (source && source == readWholeFile(romPath) &&
        dialogs.message(parent,
                        QStringLiteral("La ROM es igual a la original: el parche no cambiaría nada.\r\n"
                                       "¿Desea crearlo de todos modos?"),
                        QStringLiteral("Crear parche"), MessageButtons::YesNo,
                        MessageIcon::Question) != MessageAnswer::Yes)
        return;

    FileRequest request;
    request.title = QStringLiteral("Crear parche");
    request.filter = QStringLiteral("Parche BPS (*.bps)|*.bps|Parche IPS (*.ips)|*.ips");
    request.initialFolder = romFolder;
    request.mustExist = false;
    // "<project name>.bps" beside the project file.
    if (!settings.projectFilePath.empty() && !settings.projectName.empty()) {
        request.initialFolder = QFileInfo(pathToQString(settings.projectFilePath)).absolutePath();
        request.proposedFile =
            request.initialFolder + QLatin1Char('/') + utf8(settings.projectName) + QStringLiteral(".bps");
    }
    const QString chosen = dialogs.saveFile(parent, request);
    if (chosen.isEmpty())
        return;

    const PatchExport outcome = exportPatch(sourcePath, romPath, pathFromQString(chosen));
    switch (outcome.status) {
    case PatchExport::Status::Written: {
        QString text =
            QStringLiteral("Se ha creado el parche ") + chosen + QStringLiteral(" (") +
            QString::number(outcome.patchSize) + QStringLiteral(" bytes) con ") +
            QString::number(outcome.changedBytes) + QStringLiteral(" bytes cambiados.\r\nOrigen: ") +
            pathToQString(sourcePath) +
            QStringLiteral(" (%1 bytes, CRC32 %2).").arg(outcome.sourceSize).arg(crcText(outcome.sourceCrc));
        const OriginalCheck check = checkOriginalCopy(files);
        if (sourcePath == originalRomPathOf(romPath) && check.status == OriginalCheck::Status::Differs)
            text += QStringLiteral(
                        "\r\nAtención: cuando se guardó, la copia sin traducir medía %1 bytes con CRC32 "
                        "%2; ha cambiado desde entonces.")
                        .arg(check.recorded.size)
                        .arg(crcText(check.recorded.crc));
        if (outcome.copierHeader)
            text += QStringLiteral("\r\n") + utf8(copierHeaderReminderText());
        dialogs.inform(parent, text);
        return;
    }
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
