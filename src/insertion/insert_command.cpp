#include "insertion/insert_command.h"

#include <QPlainTextEdit>
#include <QTextCursor>

#include <ctime>

#include "common/file_io.h"
#include "encoding/conversions.h"
#include "insertion/insertion_journal.h"
#include "insertion/insertion_tools.h"
#include "insertion/journal_messages.h"
#include "insertion/rom_writer.h"
#include "platform/platform.h"
#include "platform/qt_text.h"
#include "pointers/placement_report.h"
#include "pointers/relocation.h"
#include "project/project_model.h"
#include "project/script_files.h"
#include "project/workspace.h"
#include "workspace/status_refresh.h"

namespace tradumar {
namespace {

const QString kConfirmTitle = QStringLiteral("Confirmación requerida");

bool confirm(QWidget* parent, Dialogs& dialogs, std::int64_t available) {
    if (available >= 0)
        return dialogs.message(parent, QStringLiteral("¿Está seguro de insertar el Script?"), kConfirmTitle,
                               MessageButtons::YesNo, MessageIcon::Question) == MessageAnswer::Yes;
    // The excess is shown as the program always formats a positive number:
    // one blank for its sign, then the digits. Enter answers No: it must
    // never write past the script's size.
    const QString warning = QStringLiteral("Tienes que disminuir ") + QLatin1Char(' ') +
                            QString::number(-available) +
                            QStringLiteral(" byte(s).\r\n¿Desea insertar el script de todos modos?");
    return dialogs.message(parent, warning, kConfirmTitle, MessageButtons::YesNoDefaultNo,
                           MessageIcon::Critical) == MessageAnswer::Yes;
}

MissingAnswer answerOf(MessageAnswer answer) {
    return answer == MessageAnswer::Yes ? MissingAnswer::GoOn : MissingAnswer::Stop;
}

// Why an encoding failed, for the line under the failure's code and title.
QString encodingFailureText(const InsertOutcome& outcome) {
    if (outcome.errorAt > 0)
        return QStringLiteral("Bloque sin cerrar en la posición %1.").arg(outcome.errorAt);
    if (outcome.error == FailureCode::Overflow)
        return QStringLiteral("El texto pasa de 32767 caracteres.");
    return QStringLiteral("El nombre del script no indica su dirección y su tamaño (DIRECCIÓN[TAMAÑO].txt).");
}

// The pane position of the character at a 1-based position in characters:
// a line break is two characters (CR LF) of the text and one of the pane, a
// character beyond U+FFFF is one of the text and two of the pane.
int panePositionOf(const std::string& text, int characterPosition) {
    int position = 0;
    int characters = 0;
    for (std::size_t i = 0; i < text.size() && characters < characterPosition - 1;) {
        const std::size_t length = utf8SequenceLength(static_cast<unsigned char>(text[i]));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            i += 2;
            characters += 2;
            ++position;
            continue;
        }
        i += length;
        ++characters;
        position += length == 4 ? 2 : 1;
    }
    return position;
}

} // namespace

namespace {

// Where a script lives now and, for one too long there, the move the
// translator may choose. A script without confirmed pointers lives at the
// offset of its name, and reading the ROM is not needed for it.
struct CurrentPlace {
    ScriptPlace place;
    bool moved = false;
    std::optional<Placement> move;
};

QString utf8Text(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

CurrentPlace currentPlace(const Workspace& workspace, const PointerFile& file, const std::string& script,
                          const ScriptPlace& home, const std::optional<Bytes>& bytes) {
    CurrentPlace current{home, false, std::nullopt};
    if (file.pointersOf(script).empty())
        return current;
    const std::optional<std::string> romText = readWholeFile(workspace.settings.romPath);
    const Bytes rom = romText ? Bytes(romText->begin(), romText->end()) : Bytes();
    const std::optional<ScriptLocation> location = locateScript(script, file, rom);
    if (!location)
        return current;
    current.place = location->current;
    current.moved = location->status == ScriptLocation::Status::Moved;
    if (!bytes || static_cast<std::int64_t>(bytes->size()) <= current.place.size)
        return current;
    const std::vector<ScriptLocation> locations =
        locateScripts(scriptFileNames(workspace.settings.scriptsFolder), file, rom);
    Placement p = planPlacement(*location, *bytes, file, rom, freeSpace(file, locations), locations);
    if (p.kind == Placement::Kind::Move)
        current.move = std::move(p);
    return current;
}

bool offerRelocation(QWidget* parent, Dialogs& dialogs, const Placement& p) {
    const QString question =
        QStringLiteral("El script excede su tamaño en %1 byte(s), pero tiene %2 puntero(s) y cabe en el "
                       "espacio libre de la dirección 0x%3.\r\n¿Desea reubicarlo allí?")
            .arg(static_cast<std::int64_t>(p.bytes) - p.from.size)
            .arg(p.pointers)
            .arg(utf8Text(hexNumber(p.to.offset)));
    return dialogs.message(parent, question, QStringLiteral("Reubicar"), MessageButtons::YesNo,
                           MessageIcon::Question) == MessageAnswer::Yes;
}

} // namespace

void insertScript(QWidget* parent, Dialogs& dialogs, const Workspace& workspace, const InsertSource& source) {
    QPlainTextEdit* pane = source.translationPane;
    const std::string text = paneText(pane);
    if (text.empty()) {
        dialogs.inform(parent, QStringLiteral("¡Nada que insertar!"));
        return;
    }
    // The budget is weighed with the bytes the encoder really writes (a raw
    // block counts one byte on the label, however many it holds).
    const std::optional<ScriptPlace> place = scriptPlace(source.scriptFileName);
    if (!place) {
        dialogs.inform(parent, QString::number(FailureCode::InvalidCall) +
                                   QStringLiteral(": No se pudo insertar el script\r\n") +
                                   encodingFailureText(InsertOutcome{}));
        return;
    }
    const std::string pointerPath = pointerFilePathFor(workspace.settings.projectFilePath);
    PointerFileLoad pointers = pointerPath.empty() ? PointerFileLoad{} : loadPointerFile(pointerPath);
    if (!pointers.ok()) {
        dialogs.inform(parent, utf8Text(pointerFileFailureText(pointerPath, pointers)));
        return;
    }
    std::int64_t available = labelNumber(source.availableBytes);
    const auto goOn = [](auto&&...) { return MissingAnswer::GoOn; };
    std::optional<Bytes> realBytes;
    if (EncodeResult real = encodeScript(text, workspace.encoderContext(), goOn, goOn);
        real.error == FailureCode::None)
        realBytes = std::move(real.bytes);
    const CurrentPlace current =
        currentPlace(workspace, pointers.file, source.scriptFileName, *place, realBytes);
    if (realBytes)
        available = current.place.size - static_cast<std::int64_t>(realBytes->size());
    // Moving a script that has outgrown its place is offered before the
    // warning that it is too long; a No leads to that warning.
    const bool relocate = current.move && offerRelocation(parent, dialogs, *current.move);
    if (!relocate && !confirm(parent, dialogs, available))
        return;

    const QString caution = QStringLiteral("Precaución");
    const MissingHandler onMissing = [&](char32_t character, int, int code) {
        const QString question =
            QStringLiteral("Caracter '") + QString::fromUcs4(&character, 1) +
            QStringLiteral("'\r\n[Ascii: ") + QString::number(code) +
            QStringLiteral("] no existe en la tabla.\r\n¿Desea insertar el script de todos modos?");
        return answerOf(dialogs.message(parent, question, caution, MessageButtons::YesNoDefaultNo,
                                        MessageIcon::Critical));
    };
    const InvalidBlockHandler onInvalidBlock = [&](std::string_view block, int position) {
        const QString question =
            QStringLiteral(
                "Bloque '%1' en la posición %2\r\nno son pares de dígitos hexadecimales ni un código "
                "de la tabla.\r\n¿Desea insertar el script de todos modos?")
                .arg(toQString(block))
                .arg(position);
        return answerOf(dialogs.message(parent, question, caution, MessageButtons::YesNoDefaultNo,
                                        MessageIcon::Critical));
    };
    const ProjectFiles files = projectFilesFor(workspace.settings);
    const auto selectStop = [&](int stoppedAt, int stoppedLength) {
        QTextCursor cursor(pane->document());
        cursor.setPosition(panePositionOf(text, stoppedAt));
        cursor.setPosition(panePositionOf(text, stoppedAt + stoppedLength), QTextCursor::KeepAnchor);
        pane->setTextCursor(cursor);
        pane->setFocus();
    };
    if (relocate) {
        // The questions about missing characters come before anything is
        // written, as for an insertion in place.
        const EncodeResult encoded =
            encodeScript(text, workspace.encoderContext(), onMissing, onInvalidBlock);
        if (encoded.stopped())
            return selectStop(encoded.stoppedAt, encoded.stoppedLength);
        if (!encoded.ok()) {
            InsertOutcome failed;
            failed.error = encoded.error;
            failed.errorAt = encoded.errorAt;
            dialogs.inform(parent, QString::number(encoded.error) +
                                       QStringLiteral(": No se pudo insertar el script\r\n") +
                                       encodingFailureText(failed));
            return;
        }
        FileOps ops;
        const PlacementOutcome step =
            writePlacements(files, pointerPath, pointers.file, {*current.move}, {}, ops, std::time(nullptr));
        if (step.pointerFileError != 0) {
            dialogs.inform(parent, utf8Text(pointerFileSaveFailureText(pointerPath, step.pointerFileError) +
                                            " No se ha insertado nada."));
            return;
        }
        if (const std::string notice = journalNoticeText(step); !notice.empty())
            dialogs.inform(parent, utf8Text(notice));
        tellChecksumOnce(parent, dialogs, workspace, step);
        if (step.error != FailureCode::None) {
            showJournalFailure(parent, dialogs, files, QStringLiteral("No se pudo insertar el script"), step);
            return;
        }
        dialogs.inform(parent,
                       utf8Text(relocationDoneText(*current.move)) +
                           (step.journalUnflushed ? QStringLiteral("\r\n") + unflushedNotice() : QString()));
        return;
    }

    const InsertOutcome outcome =
        insertTranslation(text, workspace.encoderContext(), onMissing, onInvalidBlock, source.scriptFileName,
                          files, current.moved ? std::optional(current.place.offset) : std::nullopt);
    if (const std::string notice = journalNoticeText(outcome.report); !notice.empty())
        dialogs.inform(parent, utf8Text(notice));
    tellChecksumOnce(parent, dialogs, workspace, outcome.report);
    switch (outcome.kind) {
    case InsertOutcome::Kind::Stopped:
        return selectStop(outcome.stoppedAt, outcome.stoppedLength);
    case InsertOutcome::Kind::Failed: {
        JournalReport report = outcome.report;
        report.error = outcome.error;
        if (report.file.empty() &&
            (report.error == FailureCode::RomNotFound || report.error == FailureCode::RomTooSmall))
            report.file = files.rom;
        if (outcome.report.error == FailureCode::None &&
            (outcome.error == FailureCode::InvalidCall || outcome.error == FailureCode::Overflow)) {
            dialogs.inform(parent, QString::number(outcome.error) +
                                       QStringLiteral(": No se pudo insertar el script\r\n") +
                                       encodingFailureText(outcome));
            return;
        }
        showJournalFailure(parent, dialogs, files, QStringLiteral("No se pudo insertar el script"), report);
        return;
    }
    case InsertOutcome::Kind::Written:
        dialogs.inform(
            parent, QStringLiteral("Se han insertado ") + QString::number(outcome.bytesWritten) +
                        QStringLiteral(" bytes en la dirección 0x") +
                        (current.moved ? utf8Text(hexNumber(current.place.offset))
                                       : pathToQString(scriptAddressText(source.scriptFileName))) +
                        QLatin1Char('.') +
                        (outcome.journalUnflushed ? QStringLiteral("\r\n") + unflushedNotice() : QString()));
        return;
    }
}

} // namespace tradumar
