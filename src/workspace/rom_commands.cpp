// Starting from the ROM and checking what it holds, in the main window:
// "Extraer scripts...", the offer to extract into a new project's empty
// scripts folder, "Comprobar la ROM", and the scripts the list's filter
// "Pendientes de insertar" shows.
#include <unordered_map>

#include <QAction>
#include <QComboBox>
#include <QMenu>

#include "platform/qt_text.h"
#include "pointers/extraction_dialog.h"
#include "pointers/verification.h"
#include "project/script_filter.h"
#include "project/workspace.h"
#include "workspace/file_list.h"
#include "workspace/main_window.h"
#include "workspace/progress_window.h"

namespace tradumar {

void MainWindow::buildRomControls() {
    m_mnuExtraer = new QAction(QStringLiteral("E&xtraer scripts..."), this);
    m_mnuExtraer->setObjectName(QStringLiteral("mnuExtraer"));
    m_mnuComprobar = new QAction(QStringLiteral("Comprobar la &ROM"), this);
    m_mnuComprobar->setObjectName(QStringLiteral("mnuComprobar"));
    // Beside the commands that write into the ROM.
    QAction* before = findChild<QAction*>(QStringLiteral("mnuInsertarTodos"));
    m_mnuHerramientas->insertActions(before, {m_mnuExtraer, m_mnuComprobar});
    connect(m_mnuExtraer, &QAction::triggered, this, &MainWindow::extractFromRom);
    connect(m_mnuComprobar, &QAction::triggered, this, &MainWindow::checkRom);
    // After an insertion of every script or an undo, what the ROM holds has
    // changed: the list's pending scripts are told again (these run after
    // the commands themselves, which were connected first).
    for (const char* name : {"mnuInsertarTodos", "mnuDeshacer"})
        if (QAction* action = findChild<QAction*>(QString::fromUtf8(name)))
            connect(action, &QAction::triggered, this, [this] {
                if (currentFilterIsPending())
                    applyScriptFilter();
            });
}

bool MainWindow::currentFilterIsPending() const {
    return kScriptFilters[std::max(0, m_cboFiltro->currentIndex())] == ScriptFilter::PendingInsertion;
}

std::vector<bool> MainWindow::pendingScripts() {
    const auto& scripts = m_workspace.progress.scripts();
    const RomCheck check = checkProjectRom(m_workspace.settings, m_workspace.encoderContext());
    // Without the ROM's answer every translation that can be inserted counts
    // as pending, and the list's filter says why.
    m_cboFiltro->setToolTip(toQString(check.failure));
    if (!check.failure.empty())
        return std::vector<bool>(scripts.size(), true);
    std::unordered_map<std::string, bool> pending;
    for (const TranslationCheck& c : check.checks)
        pending[c.script] = c.state == TranslationCheck::State::Pending;
    std::vector<bool> out(scripts.size(), false);
    for (std::size_t k = 0; k < scripts.size(); ++k)
        if (const auto found = pending.find(scripts[k].fileName); found != pending.end())
            out[k] = found->second;
    return out;
}

void MainWindow::extractFromRom() {
    if (m_workspace.settings.projectFilePath.empty())
        return;
    ExtractionDialog dialog(m_workspace, m_platform.dialogs, this);
    if (dialog.exec() == QDialog::Accepted)
        reloadScriptList();
}

void MainWindow::offerExtraction() {
    if (m_platform.dialogs.message(
            this,
            QStringLiteral("La carpeta de scripts está vacía. ¿Desea extraer ahora los "
                           "scripts de la ROM?"),
            QStringLiteral("Tradumar"), MessageButtons::YesNo, MessageIcon::Question) == MessageAnswer::Yes)
        extractFromRom();
}

// The folder gained scripts: the list is read again and the open script
// keeps its text, its change mark and its place under its own name.
void MainWindow::reloadScriptList() {
    const QString open = pathToQString(m_workspace.openScriptFile);
    const bool wasOpen = scriptIsOpen();
    const QString folder = pathToQString(m_workspace.settings.scriptsFolder);
    if (!pointScriptList(folder) || !m_ori->setFolder(folder))
        return;
    const QList<QListWidgetItem*> found = m_scripts->findItems(open, Qt::MatchExactly);
    if (wasOpen && !found.isEmpty()) {
        m_workspace.openScriptIndex = m_scripts->row(found.front());
        m_scripts->selectIndex(*m_workspace.openScriptIndex);
    }
    refreshProgress();
    if (!wasOpen && m_scripts->count() > 0 && m_scripts->selectIndex(0))
        openSelectedScript();
}

void MainWindow::checkRom() {
    const RomCheck check = checkProjectRom(m_workspace.settings, m_workspace.encoderContext());
    if (!check.failure.empty()) {
        m_platform.dialogs.inform(this, toQString(check.failure), QStringLiteral("Comprobar la ROM"));
        return;
    }
    showProgressWith(check);
}

} // namespace tradumar
