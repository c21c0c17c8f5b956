// OpenProject: the way into every other command of the main window.
#include <fstream>

#include <QLabel>

#include "common/file_io.h"
#include "platform/ansi_text.h"
#include "workspace/file_list.h"
#include "workspace/main_window.h"
#include "workspace/script_files.h"
#include "workspace/status_refresh.h"
#include "workspace/workspace.h"

namespace tradumar {
namespace {

// Opens the table file once for reading and writing, which leaves an empty
// file where none was, then loads the table from scratch: what an earlier,
// failed opening left in it must not mix with the new project's entries.
bool loadTable(const std::string& path, ThingyTable& table, TableOverflow overflow) {
    if (!pathExists(path)) {
        std::ofstream create(path, std::ios::binary | std::ios::app);
        if (!create)
            return false;
    }
    table.clear();
    return loadThingyTable(path, table, overflow) == LoadStatus::Loaded;
}

} // namespace

void MainWindow::openProject() {
    FileRequest request;
    request.title = QStringLiteral("Abrir Proyecto Tradumar");
    request.filter = QStringLiteral("Tradumar Archivo de Proyecto (*.tpr)|*.tpr");
    request.initialFolder = m_startFolder;
    request.mustExist = true;
    const QString chosen = m_platform.dialogs.openFile(this, request);
    // Every failure below ends the opening quietly, keeping what the steps
    // before it did, so the user can simply open a project again.
    if (chosen.isEmpty())
        return;

    ProjectSettings& settings = m_workspace.settings;
    settings.projectFilePath = pathFromQString(chosen);
    if (!settings.readFrom(settings.projectFilePath))
        return;

    habilitar();
    habilitarMenus();

    const QString scriptsFolder = pathToQString(settings.scriptsFolder);
    if (!m_scripts->setFolder(scriptsFolder) || !m_ori->setFolder(scriptsFolder))
        return;
    const std::string translations = translationFolderOf(settings.scriptsFolder);
    if (pathExists(translations) && !m_trans->setFolder(pathToQString(translations)))
        return;

    // The list now shows another folder: whatever script an earlier opening
    // left "open" is no longer on it.
    m_workspace.openScriptIndex.reset();
    m_scripts->show();
    if (!m_scripts->selectIndex(settings.scriptIndex))
        return;

    setWindowTitle(toQString(settings.projectName) + QStringLiteral(" - ") + windowTitle());

    if (!loadTable(settings.originalTablePath, m_workspace.originalTable, TableOverflow::Drop))
        return;
    m_workspace.originalLongest = m_workspace.originalTable.longestTextLength(true);
    m_status->invalidate();
    if (!loadTable(settings.translatedTablePath, m_workspace.translatedTable, TableOverflow::Fail))
        return;
    m_workspace.translatedLongest = m_workspace.translatedTable.longestTextLength(false);

    m_mnuNuevo->setEnabled(false);
    m_mnuAbrir->setEnabled(false);
    refreshProgress();
    openSelectedScript();
}

} // namespace tradumar
