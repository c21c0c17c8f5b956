// The project's two tables in the main window: loading them with every check
// at opening, reloading them after "Configurar", on "Recargar tablas" and
// when their files change while the program is in the background.
#include <filesystem>

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QStatusBar>

#include "common/file_io.h"
#include "platform/qt_text.h"
#include "project/project_messages.h"
#include "project/project_model.h"
#include "project/workspace.h"
#include "spellcheck/spell_check.h"
#include "spellcheck/spell_highlighter.h"
#include "workspace/main_window.h"
#include "workspace/status_refresh.h"

namespace tradumar {
namespace {

// A table file's modification time; nothing when it cannot be read.
std::optional<std::filesystem::file_time_type> modifiedAt(const std::string& path) {
    std::error_code error;
    const auto time = std::filesystem::last_write_time(path, error);
    return error ? std::nullopt : std::optional(time);
}

} // namespace

QString MainWindow::loadTables() {
    Workspace& w = m_workspace;
    const TablesLoad load = loadProjectTables(w);
    if (load.failure)
        return QString::fromStdString(openFailureText(load.failure));
    m_tableTimes = {modifiedAt(w.settings.originalTablePath), modifiedAt(w.settings.translatedTablePath)};
    m_status->invalidate();
    m_spelling->highlighter()->refresh(); // what the table cannot write is marked anew
    if (const std::string unusable = unusableLinesText(load, w.settings); !unusable.empty())
        m_platform.dialogs.inform(this, QString::fromStdString(unusable));
    return {};
}

void MainWindow::reloadTables() {
    if (m_workspace.settings.projectFilePath.empty())
        return;
    if (const QString failure = loadTables(); !failure.isEmpty()) {
        m_platform.dialogs.inform(this, QStringLiteral("No se pudieron recargar las tablas: ") + failure);
        return;
    }
    refreshProgress();
}

void MainWindow::reloadChangedTables() {
    const ProjectSettings& settings = m_workspace.settings;
    if (settings.projectFilePath.empty())
        return;
    const std::pair now{modifiedAt(settings.originalTablePath), modifiedAt(settings.translatedTablePath)};
    if (now == m_tableTimes)
        return;
    m_tableTimes = now; // asked once per change, even when the reload fails
    reloadTables();
    statusBar()->showMessage(QStringLiteral("Se han recargado las tablas: sus archivos cambiaron."), 5000);
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        reloadChangedTables();
    return QMainWindow::event(event);
}

void MainWindow::buildTableControls() {
    m_mnuRecargar = m_mnuHerramientas->addAction(QStringLiteral("Re&cargar tablas"));
    m_mnuRecargar->setObjectName(QStringLiteral("mnuRecargar"));
    m_mnuRecargar->setParent(this);
    connect(m_mnuRecargar, &QAction::triggered, this, &MainWindow::reloadTables);
}

} // namespace tradumar
