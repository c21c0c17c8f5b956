// OpenProject: the way into every other command of the main window.
#include <cerrno>
#include <fstream>

#include <QFileInfo>
#include <QLabel>

#include "common/file_io.h"
#include "platform/qt_text.h"
#include "project/ini_profile.h"
#include "workspace/file_list.h"
#include "workspace/main_window.h"
#include "workspace/script_files.h"
#include "workspace/status_refresh.h"
#include "workspace/undecodable_file.h"
#include "workspace/workspace.h"

namespace tradumar {
namespace {

// Opens the table file once for reading and writing, which leaves an empty
// file where none was, then loads the table from scratch. Returns what is
// wrong with it, in words for the user, or empty text.
QString loadTable(const std::string& path, const QString& which, ThingyTable& table, TableOverflow overflow,
                  LegacyCodePage legacy) {
    if (!pathExists(path)) {
        std::ofstream create(path, std::ios::binary | std::ios::app);
        if (!create)
            return QStringLiteral("no se pudo crear la tabla ") + which + QLatin1Char(' ') +
                   pathToQString(path) + QStringLiteral(" (") + toQString(describeError(errno)) +
                   QLatin1Char(')');
    }
    table.clear();
    const TableLoad load = loadThingyTable(path, table, overflow, legacy);
    switch (load.status) {
    case LoadStatus::Loaded:
        return {};
    case LoadStatus::Unreadable:
        return QStringLiteral("no se pudo leer la tabla ") + which + QLatin1Char(' ') + pathToQString(path);
    case LoadStatus::Undecodable:
        return QStringLiteral("la tabla ") + which + QLatin1Char(' ') + pathToQString(path) + QLatin1Char(' ') +
               undecodableText(legacy, load.badOffset, load.badByte);
    case LoadStatus::Overflow:
        break;
    }
    return QStringLiteral("la tabla ") + which + QLatin1Char(' ') + pathToQString(path) +
           QStringLiteral(" tiene más de 5000 entradas");
}

QString missingOrUnreadable(const QString& what, const std::string& folder) {
    return (pathExists(folder) ? QStringLiteral("no se puede leer la carpeta ")
                               : QStringLiteral("no existe la carpeta ")) +
           what + QLatin1Char(' ') + pathToQString(folder);
}

} // namespace

void MainWindow::openProject() {
    FileRequest request;
    request.title = QStringLiteral("Abrir Proyecto Tradumar");
    request.filter = QStringLiteral("Tradumar Archivo de Proyecto (*.tpr)|*.tpr");
    request.initialFolder = m_startFolder;
    request.mustExist = true;
    const QString chosen = m_platform.dialogs.openFile(this, request);
    if (!chosen.isEmpty())
        openProjectFile(pathFromQString(chosen));
}

bool MainWindow::openProjectFile(const std::string& path) {
    const QString failure = openProjectSteps(path);
    if (failure.isEmpty())
        return true;
    // Nothing stays half open: the window goes back to where "Cerrar" leaves it.
    resetToClosed();
    m_platform.dialogs.inform(this, QStringLiteral("No se pudo abrir el proyecto ") +
                                        QFileInfo(pathToQString(path)).fileName() + QStringLiteral(": ") +
                                        failure);
    return false;
}

QString MainWindow::openProjectSteps(const std::string& path) {
    ProjectSettings& settings = m_workspace.settings;
    settings.projectFilePath = path;
    if (!readWholeFile(path))
        return QStringLiteral("no se puede leer el archivo (") + toQString(describeError(errno)) +
               QLatin1Char(')');
    const ProjectSettings::ReadOutcome read = settings.readFrom(path);
    if (read.status == ProjectSettings::ReadOutcome::Status::Undecodable)
        return QStringLiteral("el archivo ") +
               undecodableText(settings.legacyCodePage, read.badOffset, read.badByte);
    if (!read) {
        const std::string index = readIniValue("Index", "Value", path);
        if (index.empty() && settings.projectName.empty() && settings.scriptsFolder.empty())
            return QStringLiteral("el archivo no es un proyecto de Tradumar");
        return QStringLiteral("el índice de script guardado \"") + toQString(index) +
               QStringLiteral("\" no es un número entre -32768 y 32767");
    }

    habilitar();
    habilitarMenus();

    // Pointing the list forgets the open script at once, before anything
    // below can fail.
    if (settings.scriptsFolder.empty())
        return QStringLiteral("el archivo no indica la carpeta de scripts");
    const QString scriptsFolder = pathToQString(settings.scriptsFolder);
    if (!pointScriptList(scriptsFolder) || !m_ori->setFolder(scriptsFolder))
        return missingOrUnreadable(QStringLiteral("de scripts"), settings.scriptsFolder);
    const std::string translations = translationFolderOf(settings.scriptsFolder);
    if (pathExists(translations) && !m_trans->setFolder(pathToQString(translations)))
        return missingOrUnreadable(QStringLiteral("de traducciones"), translations);

    // A stored position past the list (the folder lost some scripts) selects
    // nothing; the opening goes on.
    m_scripts->show();
    if (!m_scripts->selectIndex(settings.scriptIndex))
        m_scripts->selectIndex(-1);

    setWindowTitle(toQString(settings.projectName) + QStringLiteral(" - ") + windowTitle());

    if (QString failure = loadTable(settings.originalTablePath, QStringLiteral("original"),
                                    m_workspace.originalTable, TableOverflow::Drop, settings.legacyCodePage);
        !failure.isEmpty())
        return failure;
    m_workspace.originalLongest = m_workspace.originalTable.longestTextLength(true);
    m_status->invalidate();
    if (QString failure = loadTable(settings.translatedTablePath, QStringLiteral("traducida"),
                                    m_workspace.translatedTable, TableOverflow::Fail, settings.legacyCodePage);
        !failure.isEmpty())
        return failure;
    m_workspace.translatedLongest = m_workspace.translatedTable.longestTextLength(false);

    m_mnuNuevo->setEnabled(false);
    m_mnuAbrir->setEnabled(false);
    refreshProgress();
    openSelectedScript();
    return {};
}

} // namespace tradumar
