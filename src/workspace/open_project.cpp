// OpenProject: the way into every other command of the main window.
#include <cerrno>

#include <QFileInfo>
#include <QLabel>

#include "common/file_io.h"
#include "platform/qt_text.h"
#include "project/ini_profile.h"
#include "project/project_dialog.h"
#include "project/project_messages.h"
#include "project/project_model.h"
#include "project/script_files.h"
#include "project/workspace.h"
#include "workspace/file_list.h"
#include "workspace/main_window.h"
#include "workspace/status_refresh.h"
#include "workspace/undecodable_file.h"

namespace tradumar {
namespace {

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
    m_openFailureCorrectable = false;
    const QString failure = openProjectSteps(path);
    rememberProject(path, failure.isEmpty());
    if (failure.isEmpty())
        return true;
    const ProjectSettings attempted = m_workspace.settings;
    const bool correctable = m_openFailureCorrectable;
    // Nothing stays half open: the window goes back to where "Cerrar" leaves it.
    resetToClosed();
    m_platform.dialogs.inform(this, QStringLiteral("No se pudo abrir el proyecto ") +
                                        QFileInfo(pathToQString(path)).fileName() + QStringLiteral(": ") +
                                        failure);
    // A path that leads nowhere is corrected in the project dialog, which
    // then writes the project; it opens again from there.
    if (!correctable || m_platform.dialogs.message(this, QStringLiteral("¿Desea corregir el proyecto?"),
                                                   QStringLiteral("Tradumar"), MessageButtons::YesNo,
                                                   MessageIcon::Question) != MessageAnswer::Yes)
        return false;
    m_workspace.settings = attempted;
    const bool corrected =
        runConfigureProjectDialog(m_workspace.settings, m_platform.dialogs, *this, m_startFolder, this);
    const std::string correctedPath = m_workspace.settings.projectFilePath;
    resetToClosed();
    return corrected && openProjectFile(correctedPath);
}

QString MainWindow::openProjectSteps(const std::string& path) {
    m_workspace.checksumNoticeGiven = false;
    const OpenFailure read = readProjectFile(path, m_workspace);
    if (read && !read.correctable())
        return QString::fromStdString(openFailureText(read));

    habilitar();
    habilitarMenus();
    // From here on the file is a project: what fails is a path to correct.
    m_openFailureCorrectable = true;
    if (read)
        return QString::fromStdString(openFailureText(read));
    ProjectSettings& settings = m_workspace.settings;

    // Pointing the list forgets the open script at once, before anything
    // below can fail.
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

    m_projectCaption = toQString(settings.projectName);
    showChangeMark();

    if (QString failure = loadTables(); !failure.isEmpty())
        return failure;
    // The ROM is never created: insertion writes only into one that exists.
    if (!pathExists(settings.romPath))
        return QStringLiteral("no existe la ROM ") + pathToQString(settings.romPath);

    m_mnuNuevo->setEnabled(false);
    m_mnuAbrir->setEnabled(false);
    refreshProgress();
    openSelectedScript();
    return {};
}

} // namespace tradumar
