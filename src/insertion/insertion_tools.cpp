#include "insertion/insertion_tools.h"

#include <ctime>

#include <QAction>
#include <QMenu>
#include <QProgressDialog>

#include "checksum/rom_checksum.h"
#include "common/file_io.h"
#include "insertion/insert_all.h"
#include "insertion/insert_all_dialog.h"
#include "insertion/insertion_journal.h"
#include "insertion/journal_messages.h"
#include "platform/platform.h"
#include "platform/qt_text.h"
#include "pointers/placement_report.h"
#include "pointers/relocation.h"
#include "project/project_model.h"
#include "project/script_files.h"
#include "project/workspace.h"

namespace tradumar {

namespace {

// A progress window for long runs: it appears only when the run takes more
// than a moment. Its answer is whether to go on.
class Progress {
public:
    Progress(QWidget* parent, const QString& label, std::size_t total,
             const std::function<void(QProgressDialog&)>& onStep)
        : m_dialog(label, QStringLiteral("Cancelar"), 0, static_cast<int>(total), parent), m_onStep(onStep) {
        m_dialog.setWindowTitle(QStringLiteral("Tradumar"));
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(500);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
    }
    bool operator()(std::size_t done, std::size_t) {
        m_dialog.setValue(static_cast<int>(done));
        if (m_onStep)
            m_onStep(m_dialog);
        return !m_dialog.wasCanceled();
    }

private:
    QProgressDialog m_dialog;
    std::function<void(QProgressDialog&)> m_onStep;
};

QString utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

InsertionTools::InsertionTools(QWidget* window, QMenu* tools, Workspace& workspace, Dialogs& dialogs)
    : QObject(window), m_window(window), m_workspace(workspace), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("insertionTools"));
    m_mnuInsertarTodos = tools->addAction(QStringLiteral("Insertar todos los scripts traducidos"));
    m_mnuInsertarTodos->setObjectName(QStringLiteral("mnuInsertarTodos"));
    m_mnuDeshacer = tools->addAction(QStringLiteral("Deshacer última inserción"));
    m_mnuDeshacer->setObjectName(QStringLiteral("mnuDeshacer"));
    for (QAction* action : {m_mnuInsertarTodos, m_mnuDeshacer})
        action->setParent(this);
    connect(m_mnuInsertarTodos, &QAction::triggered, this, &InsertionTools::insertAllTranslated);
    connect(m_mnuDeshacer, &QAction::triggered, this, &InsertionTools::undoLastInsertion);
    connect(tools, &QMenu::aboutToShow, this, &InsertionTools::refresh);
    refresh();
}

void InsertionTools::refresh() {
    const ProjectFiles files = projectFilesFor(m_workspace.settings);
    m_mnuDeshacer->setEnabled(!files.journal.empty() && hasUndoableStep(files));
}

bool showJournalFailure(QWidget* parent, Dialogs& dialogs, const ProjectFiles& files, const QString& title,
                        const JournalReport& report) {
    QString text = QString::number(report.error) + QStringLiteral(": ") + title;
    if (const std::string why = journalFailureText(report); !why.empty())
        text += QStringLiteral("\r\n") + utf8(why);
    if (report.error != FailureCode::JournalDamaged) {
        dialogs.inform(parent, text);
        return false;
    }
    text +=
        QStringLiteral("\r\n¿Desea apartarlo (se le cambiará el nombre, no se borra) y empezar un registro "
                       "nuevo?");
    if (dialogs.message(parent, text, QStringLiteral("Registro de inserciones dañado"), MessageButtons::YesNo,
                        MessageIcon::Critical) != MessageAnswer::Yes)
        return false;
    FileOps ops;
    int error = 0;
    if (const std::optional<std::string> aside = setJournalAside(files, ops, &error)) {
        dialogs.inform(parent, QStringLiteral("El registro dañado se ha guardado como ") + utf8(*aside) +
                                   QStringLiteral(". El próximo registro empieza vacío."));
        return true;
    }
    dialogs.inform(parent, QString::number(error) + QStringLiteral(": No se pudo apartar el registro ") +
                               utf8(report.file));
    return false;
}

bool InsertionTools::reportFailure(const QString& title, const JournalReport& report) {
    return showJournalFailure(m_window, m_dialogs, projectFilesFor(m_workspace.settings), title, report);
}

void InsertionTools::tellNotice(const JournalReport& report) {
    if (const std::string notice = journalNoticeText(report); !notice.empty())
        m_dialogs.inform(m_window, utf8(notice));
}

void InsertionTools::undoLastInsertion() {
    FileOps ops;
    const UndoOutcome outcome = undoLastStep(projectFilesFor(m_workspace.settings), ops);
    tellNotice(outcome);
    switch (outcome.kind) {
    case UndoOutcome::Kind::Nothing:
    case UndoOutcome::Kind::Undone:
    case UndoOutcome::Kind::Finished:
    case UndoOutcome::Kind::RomChanged:
        m_dialogs.inform(m_window, utf8(undoOutcomeText(outcome)));
        break;
    case UndoOutcome::Kind::Failed:
        reportFailure(QStringLiteral("No se pudo deshacer la inserción"), outcome);
        break;
    }
    refresh();
}

void InsertionTools::insertAllTranslated() {
    const ProjectSettings& settings = m_workspace.settings;
    const ProjectFiles files = projectFilesFor(settings);
    const QString title = QStringLiteral("No se pudo insertar el script");
    const auto failed = [&](int code) {
        JournalReport report;
        report.error = code;
        report.file = files.rom;
        reportFailure(title, report);
    };
    const std::size_t total = translatedScriptNames(settings.scriptsFolder).size();
    if (total == 0) {
        m_dialogs.inform(m_window, QStringLiteral("No hay traducciones guardadas que insertar."));
        return;
    }
    if (!pathExists(settings.romPath))
        return failed(FailureCode::RomNotFound);
    // The lock is held from the encoding to the last write, so no other copy
    // of the program changes the ROM or the journal in between.
    FileOps ops;
    int lockError = 0;
    JournalLock lock = JournalLock::acquire(ops, files.journal, &lockError);
    if (!lock.held())
        return failed(lockError);

    InsertAllPlan plan;
    {
        Progress progress(m_window, QStringLiteral("Codificando las traducciones..."), total, m_onProgress);
        plan = planInsertAll(settings.scriptsFolder, settings.legacyCodePage, m_workspace.encoderContext(),
                             std::ref(progress), ProjectTextBoxes(settings));
    }
    if (plan.cancelled) {
        m_dialogs.inform(m_window, QStringLiteral("Inserción cancelada. No se ha escrito nada."));
        return;
    }
    // Every script is written where it lives now; with the tick, the long
    // ones with pointers move to free space.
    const std::string pointerPath = pointerFilePathFor(settings.projectFilePath);
    PointerFileLoad pointers = loadPointerFile(pointerPath);
    if (!pointers.ok()) {
        m_dialogs.inform(m_window, utf8(pointerFileFailureText(pointerPath, pointers)));
        return;
    }
    const std::optional<std::string> romText = readWholeFile(settings.romPath);
    const Bytes rom = romText ? Bytes(romText->begin(), romText->end()) : Bytes();
    const std::vector<std::string> listed = scriptFileNames(settings.scriptsFolder);
    InsertAllDialog report(plan, m_window);
    report.setPlacements(planPlacements(plan, pointers.file, rom, listed, false),
                         planPlacements(plan, pointers.file, rom, listed, true));
    if (report.exec() != QDialog::Accepted)
        return;

    const std::vector<Placement> placements = report.chosenPlacements();
    PlacementOutcome outcome;
    {
        Progress progress(m_window, QStringLiteral("Insertando los scripts..."), placements.size(),
                          m_onProgress);
        outcome = writePlacements(files, pointerPath, pointers.file, placements, std::ref(progress), ops,
                                  std::time(nullptr), &lock);
    }
    if (outcome.pointerFileError != 0) {
        m_dialogs.inform(m_window, utf8(pointerFileSaveFailureText(pointerPath, outcome.pointerFileError) +
                                        " No se ha insertado nada."));
        return;
    }
    lock = JournalLock();
    refresh();
    tellNotice(outcome);
    tellChecksumOnce(m_window, m_dialogs, m_workspace, outcome);
    if (outcome.error != FailureCode::None) {
        reportFailure(title, outcome);
        return;
    }
    // The step counts every write (pointers and filler too); the report
    // counts the scripts written whole and their own bytes.
    std::size_t scripts = 0, bytes = 0, moved = 0, rewritten = 0, writes = 0;
    for (const Placement& p : placements) {
        writes += p.writes.size();
        if (writes > outcome.written)
            break;
        ++scripts;
        bytes += p.bytes;
        if (p.kind == Placement::Kind::Move) {
            ++moved;
            rewritten += p.pointers;
        }
    }
    QString done = outcome.cancelled
                       ? QStringLiteral("Inserción detenida. Scripts insertados: %1 de %2 (%3 bytes).")
                             .arg(scripts)
                             .arg(placements.size())
                             .arg(bytes)
                       : QStringLiteral("Scripts insertados: %1 (%2 bytes).").arg(scripts).arg(bytes);
    if (moved > 0)
        done += QStringLiteral("\r\nSe han reubicado %1 scripts y reescrito %2 punteros.")
                    .arg(moved)
                    .arg(rewritten);
    if (outcome.journalUnflushed)
        done += QStringLiteral("\r\n") + unflushedNotice();
    m_dialogs.inform(m_window, done);
}

void tellChecksumOnce(QWidget* parent, Dialogs& dialogs, const Workspace& workspace,
                      const JournalReport& report) {
    if (!report.checksumUnrecognised || workspace.checksumNoticeGiven)
        return;
    workspace.checksumNoticeGiven = true;
    dialogs.inform(parent, utf8(unrecognisedChecksumText()));
}

QString unflushedNotice() {
    return QStringLiteral("El registro de inserciones no se pudo guardar en el disco; la ROM ya contiene la "
                          "inserción y el registro se completará la próxima vez.");
}

} // namespace tradumar
