#include "insertion/insert_command.h"

#include <QPlainTextEdit>
#include <QTextCursor>

#include "encoding/conversions.h"
#include "insertion/insertion_journal.h"
#include "insertion/insertion_tools.h"
#include "insertion/journal_messages.h"
#include "insertion/rom_writer.h"
#include "platform/qt_text.h"
#include "platform/platform.h"
#include "workspace/status_refresh.h"
#include "workspace/workspace.h"

namespace tradumar {
namespace {

const QString kConfirmTitle = QStringLiteral("Confirmación requerida");

bool confirm(QWidget* parent, Dialogs& dialogs, std::int64_t available) {
    if (available >= 0)
        return dialogs.message(parent, QStringLiteral("¿Está seguro de insertar el Script?"), kConfirmTitle,
                               MessageButtons::YesNo, MessageIcon::Question) == MessageAnswer::Yes;
    // The excess is shown as the program always formats a positive number:
    // one blank for its sign, then the digits.
    const QString warning = QStringLiteral("Tienes que disminuir ") + QLatin1Char(' ') +
                            QString::number(-available) +
                            QStringLiteral(" byte(s).\r\n¿Desea insertar el script de todos modos?");
    return dialogs.message(parent, warning, kConfirmTitle, MessageButtons::YesNo, MessageIcon::Critical) ==
           MessageAnswer::Yes;
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

void insertScript(QWidget* parent, Dialogs& dialogs, const Workspace& workspace, const InsertSource& source) {
    QPlainTextEdit* pane = source.translationPane;
    const std::string text = paneText(pane);
    if (text.empty()) {
        dialogs.inform(parent, QStringLiteral("¡Nada que insertar!"));
        return;
    }
    if (!confirm(parent, dialogs, labelNumber(source.availableBytes)))
        return;

    const MissingHandler onMissing = [&](char32_t character, int, int code) {
        const QString question =
            QStringLiteral("Caracter '") + QString::fromUcs4(&character, 1) +
            QStringLiteral("'\r\n[Ascii: ") + QString::number(code) +
            QStringLiteral("] no existe en la tabla.\r\n¿Desea insertar el script de todos modos?");
        return dialogs.message(parent, question, QStringLiteral("Precaución"), MessageButtons::YesNo,
                               MessageIcon::Critical) == MessageAnswer::Yes
                   ? MissingAnswer::GoOn
                   : MissingAnswer::Stop;
    };
    const ProjectFiles files = projectFilesFor(workspace.settings);
    const InsertOutcome outcome =
        insertTranslation(text, workspace.encoderContext(), onMissing, source.scriptFileName, files);
    if (const std::string notice = journalNoticeText(outcome.report); !notice.empty())
        dialogs.inform(parent, QString::fromUtf8(notice.data(), static_cast<qsizetype>(notice.size())));
    switch (outcome.kind) {
    case InsertOutcome::Kind::Stopped: {
        QTextCursor cursor(pane->document());
        cursor.setPosition(panePositionOf(text, outcome.stoppedAt));
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        pane->setTextCursor(cursor);
        pane->setFocus();
        return;
    }
    case InsertOutcome::Kind::Failed: {
        JournalReport report = outcome.report;
        report.error = outcome.error;
        if (report.file.empty() &&
            (report.error == FailureCode::RomNotFound || report.error == FailureCode::RomTooSmall))
            report.file = files.rom;
        showJournalFailure(parent, dialogs, files, QStringLiteral("No se pudo insertar el script"), report);
        return;
    }
    case InsertOutcome::Kind::Written:
        dialogs.inform(
            parent, QStringLiteral("Se han insertado ") + QString::number(outcome.bytesWritten) +
                        QStringLiteral(" bytes en la dirección 0x") +
                        pathToQString(scriptAddressText(source.scriptFileName)) + QLatin1Char('.') +
                        (outcome.journalUnflushed ? QStringLiteral("\r\n") + unflushedNotice() : QString()));
        return;
    }
}

} // namespace tradumar
