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
#include "spellcheck/spell_check.h"
#include "spellcheck/spell_highlighter.h"
#include "workspace/main_window.h"
#include "workspace/status_refresh.h"
#include "workspace/undecodable_file.h"
#include "workspace/workspace.h"

namespace tradumar {
namespace {

// A table file's modification time; nothing when it cannot be read.
std::optional<std::filesystem::file_time_type> modifiedAt(const std::string& path) {
    std::error_code error;
    const auto time = std::filesystem::last_write_time(path, error);
    return error ? std::nullopt : std::optional(time);
}

QString loadTable(const std::string& path, const QString& which, ThingyTable& table, TableOverflow overflow,
                  LegacyCodePage legacy, std::vector<UnusableLine>& unusable) {
    const QString named = QStringLiteral("la tabla ") + which + QLatin1Char(' ') + pathToQString(path);
    // A missing table is never created: an empty one would count every
    // translation as fitting and encode nothing.
    if (!pathExists(path))
        return QStringLiteral("no existe ") + named;
    ThingyTable loaded;
    const TableLoad load = loadThingyTable(path, loaded, overflow, legacy);
    switch (load.status) {
    case LoadStatus::Loaded:
        table = loaded;
        unusable = load.unusable;
        return {};
    case LoadStatus::Unreadable:
        return QStringLiteral("no se pudo leer ") + named;
    case LoadStatus::Undecodable:
        return named + QLatin1Char(' ') + undecodableText(legacy, load.badOffset, load.badByte);
    case LoadStatus::Overflow:
        break;
    }
    return named + QStringLiteral(" tiene más de 5000 entradas");
}

// The lines of one table whose codes cannot be used: the first ten, then how many more.
QString unusableText(const QString& which, const std::string& path, const std::vector<UnusableLine>& lines) {
    QString text = QStringLiteral("Tabla %1 %2 (%3):").arg(which, pathToQString(path)).arg(lines.size());
    const std::size_t shown = std::min<std::size_t>(lines.size(), 10);
    for (std::size_t i = 0; i < shown; ++i)
        text += QStringLiteral("\r\n  línea %1: %2").arg(lines[i].number).arg(toQString(lines[i].text));
    if (lines.size() > shown)
        text += QStringLiteral("\r\n  y %1 más").arg(lines.size() - shown);
    return text;
}

} // namespace

QString MainWindow::loadTables() {
    Workspace& w = m_workspace;
    std::vector<UnusableLine> original, translated;
    if (QString failure = loadTable(w.settings.originalTablePath, QStringLiteral("original"), w.originalTable,
                                    TableOverflow::Drop, w.settings.legacyCodePage, original);
        !failure.isEmpty())
        return failure;
    w.originalLongest = w.originalTable.longestTextLength(true);
    if (QString failure = loadTable(w.settings.translatedTablePath, QStringLiteral("traducida"),
                                    w.translatedTable, TableOverflow::Fail, w.settings.legacyCodePage, translated);
        !failure.isEmpty())
        return failure;
    w.translatedLongest = w.translatedTable.longestTextLength(false);
    m_tableTimes = {modifiedAt(w.settings.originalTablePath), modifiedAt(w.settings.translatedTablePath)};
    m_status->invalidate();
    m_spelling->highlighter()->refresh(); // what the table cannot write is marked anew

    if (!original.empty() || !translated.empty()) {
        QStringList parts;
        if (!original.empty())
            parts << unusableText(QStringLiteral("original"), w.settings.originalTablePath, original);
        if (!translated.empty())
            parts << unusableText(QStringLiteral("traducida"), w.settings.translatedTablePath, translated);
        m_platform.dialogs.inform(this, QStringLiteral("Estas líneas de las tablas no se pueden usar: su código no "
                                                       "son pares de dígitos hexadecimales.\r\n") +
                                            parts.join(QStringLiteral("\r\n")));
    }
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
