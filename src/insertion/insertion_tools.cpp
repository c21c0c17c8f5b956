#include "insertion/insertion_tools.h"

#include <ctime>

#include <QAction>
#include <QMenu>
#include <QProgressDialog>

#include "common/file_io.h"
#include "insertion/insert_all.h"
#include "insertion/insert_all_dialog.h"
#include "insertion/insertion_journal.h"
#include "platform/qt_text.h"
#include "platform/platform.h"
#include "workspace/workspace.h"

namespace tradumar {

namespace {

// "1A2B3C[120]" from "1A2B3C[120].txt".
QString scriptLabel(const std::string& fileName) {
    QString name = toQString(fileName);
    if (name.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}

QString place(std::int64_t offset, const std::string& fileName) {
    return QStringLiteral("0x") + QString::number(offset, 16).toUpper() + QStringLiteral(" (") +
           scriptLabel(fileName) + QLatin1Char(')');
}

// A progress window for long runs: it appears only when the run takes more
// than a moment. Its answer is whether to go on.
class Progress {
public:
    Progress(QWidget* parent, const QString& label, std::size_t total)
        : m_dialog(label, QStringLiteral("Cancelar"), 0, static_cast<int>(total), parent) {
        m_dialog.setWindowTitle(QStringLiteral("Tradumar"));
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(500);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
    }
    bool operator()(std::size_t done, std::size_t) {
        m_dialog.setValue(static_cast<int>(done));
        return !m_dialog.wasCanceled();
    }

private:
    QProgressDialog m_dialog;
};

} // namespace

InsertionTools::InsertionTools(QWidget* window, QMenu* tools, Workspace& workspace, Dialogs& dialogs)
    : QObject(window), m_window(window), m_workspace(workspace), m_dialogs(dialogs) {
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
    const std::string journal = journalPathFor(m_workspace.settings);
    m_mnuDeshacer->setEnabled(!journal.empty() && hasUndoableStep(journal));
}

void InsertionTools::undoLastInsertion() {
    FileOps ops;
    const UndoOutcome outcome = undoLastStep(journalPathFor(m_workspace.settings), ops);
    switch (outcome.kind) {
    case UndoOutcome::Kind::Nothing:
        m_dialogs.inform(m_window, QStringLiteral("No hay inserciones que deshacer."));
        break;
    case UndoOutcome::Kind::Undone:
        m_dialogs.inform(m_window, outcome.scripts == 1
                                       ? QStringLiteral("Se restauraron %1 bytes en %2.")
                                             .arg(outcome.bytes)
                                             .arg(place(outcome.offset, outcome.scriptName))
                                       : QStringLiteral("Se restauraron %1 bytes en %2 scripts.")
                                             .arg(outcome.bytes)
                                             .arg(outcome.scripts));
        break;
    case UndoOutcome::Kind::RomChanged:
        m_dialogs.inform(m_window,
                         QStringLiteral("La ROM cambió fuera de Tradumar: en %1 ya no está lo que se "
                                        "insertó. No se ha cambiado nada.")
                             .arg(place(outcome.offset, outcome.scriptName)));
        break;
    case UndoOutcome::Kind::Failed:
        m_dialogs.inform(m_window, QString::number(outcome.error) +
                                       QStringLiteral(": No se pudo deshacer la inserción"));
        break;
    }
    refresh();
}

void InsertionTools::insertAllTranslated() {
    const ProjectSettings& settings = m_workspace.settings;
    const auto failed = [this](int code) {
        m_dialogs.inform(m_window, QString::number(code) + QStringLiteral(": No se pudo insertar el script"));
    };
    const std::size_t total = translatedScriptNames(settings.scriptsFolder).size();
    if (total == 0) {
        m_dialogs.inform(m_window, QStringLiteral("No hay traducciones guardadas que insertar."));
        return;
    }
    if (!pathExists(settings.romPath))
        return failed(FailureCode::RomNotFound);

    InsertAllPlan plan;
    {
        Progress progress(m_window, QStringLiteral("Codificando las traducciones..."), total);
        plan = planInsertAll(settings.scriptsFolder, settings.legacyCodePage, m_workspace.encoderContext(), std::ref(progress));
    }
    if (plan.cancelled) {
        m_dialogs.inform(m_window, QStringLiteral("Inserción cancelada. No se ha escrito nada."));
        return;
    }
    InsertAllDialog report(plan, m_window);
    if (report.exec() != QDialog::Accepted)
        return;

    const std::vector<RomWrite> writes = plan.writes(report.includeOverBudget());
    FileOps ops;
    StepOutcome outcome;
    {
        Progress progress(m_window, QStringLiteral("Insertando los scripts..."), writes.size());
        outcome = writeStep(settings.romPath, journalPathFor(settings), writes, RomCheck::MustHold,
                            std::ref(progress), ops, std::time(nullptr));
    }
    refresh();
    if (outcome.error != FailureCode::None)
        return failed(outcome.error);
    if (outcome.cancelled)
        m_dialogs.inform(m_window,
                         QStringLiteral("Inserción detenida. Scripts insertados: %1 de %2 (%3 bytes).")
                             .arg(outcome.written)
                             .arg(writes.size())
                             .arg(outcome.bytes));
    else
        m_dialogs.inform(
            m_window,
            QStringLiteral("Scripts insertados: %1 (%2 bytes).").arg(outcome.written).arg(outcome.bytes));
}

} // namespace tradumar
