// Finding the next job in the main window: the list's filter, moving within
// it, "Siguiente sin traducir", the recent projects and the manual.
#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

#include "platform/qt_text.h"
#include "project/recent_projects.h"
#include "project/script_filter.h"
#include "platform/qt_platform.h"
#include "project/workspace.h"
#include "workspace/file_list.h"
#include "workspace/main_window.h"
#include "workspace/manual_window.h"

namespace tradumar {
namespace {

const QString kRecentKey = QStringLiteral("Proyectos/Recientes");

std::vector<std::string> toPaths(const QStringList& list) {
    std::vector<std::string> paths;
    for (const QString& path : list)
        paths.push_back(pathFromQString(path));
    return paths;
}

QStringList toList(const std::vector<std::string>& paths) {
    QStringList list;
    for (const std::string& path : paths)
        list << pathToQString(path);
    return list;
}

} // namespace

void MainWindow::buildNavigationControls() {
    for (const ScriptFilter filter : kScriptFilters)
        m_cboFiltro->addItem(toQString(std::string(scriptFilterText(filter))));
    m_cboFiltro->setCurrentIndex(0);
    connect(m_cboFiltro, &QComboBox::currentIndexChanged, this, &MainWindow::applyScriptFilter);

    m_mnuSinTraducir = m_mnuEdicion->addAction(QStringLiteral("&Siguiente sin traducir"));
    m_mnuSinTraducir->setObjectName(QStringLiteral("mnuSinTraducir"));
    m_mnuSinTraducir->setParent(this);
    m_mnuSinTraducir->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_U));
    connect(m_mnuSinTraducir, &QAction::triggered, this, &MainWindow::nextUntranslatedScript);

    m_mnuRecientes = new QMenu(QStringLiteral("&Recientes"), this);
    m_mnuRecientes->setObjectName(QStringLiteral("mnuRecientes"));
    m_mnuRecientes->menuAction()->setObjectName(QStringLiteral("mnuRecientes"));
    m_mnuProyecto->insertMenu(m_mnuCerrar, m_mnuRecientes);
    // Offered whenever "Abrir" is: a project is opened from there as from "Abrir".
    connect(m_mnuAbrir, &QAction::changed, this, &MainWindow::fillRecentMenu);
    connect(m_mnuRecientes, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
    fillRecentMenu();

    connect(m_mnuManual, &QAction::triggered, this, &MainWindow::showManual);
}

std::vector<std::size_t> MainWindow::shownScripts() const {
    std::vector<std::size_t> shown;
    for (int row = 0; row < m_scripts->count(); ++row)
        if (!m_scripts->isRowHidden(row))
            shown.push_back(static_cast<std::size_t>(row));
    return shown;
}

void MainWindow::applyScriptFilter() {
    const auto& scripts = m_workspace.progress.scripts();
    const auto filter = kScriptFilters[std::max(0, m_cboFiltro->currentIndex())];
    // What the ROM holds is read only for the filter that needs it.
    const std::vector<bool> pending =
        filter == ScriptFilter::PendingInsertion && !scripts.empty() ? pendingScripts() : std::vector<bool>();
    std::vector<bool> show(static_cast<std::size_t>(m_scripts->count()), true);
    if (scripts.size() == show.size()) {
        std::fill(show.begin(), show.end(), false);
        for (const std::size_t row : filterScripts(scripts, filter, pending))
            show[row] = true;
    }
    for (int row = 0; row < m_scripts->count(); ++row)
        m_scripts->setRowHidden(row, !show[static_cast<std::size_t>(row)]);
}

// Moving through the list needs an open project: with none the list is
// hidden, and what it still holds belongs to a closed one.
void MainWindow::moveInView(int step) {
    if (m_workspace.settings.projectFilePath.empty())
        return;
    const std::vector<std::size_t> shown = shownScripts();
    const int selected = m_scripts->selectedIndex();
    std::optional<std::size_t> target;
    if (selected >= 0)
        target = stepInView(shown, static_cast<std::size_t>(selected), step);
    else if (step > 0 && !shown.empty())
        target = shown.front();
    if (target)
        m_scripts->selectIndex(static_cast<int>(*target));
}

void MainWindow::nextScript() {
    moveInView(1);
}

void MainWindow::previousScript() {
    moveInView(-1);
}

void MainWindow::nextUntranslatedScript() {
    if (m_workspace.settings.projectFilePath.empty())
        return;
    const auto& scripts = m_workspace.progress.scripts();
    const int selected = m_scripts->selectedIndex();
    const std::optional<std::size_t> next =
        nextUntranslated(scripts, selected < 0 ? scripts.size() : static_cast<std::size_t>(selected));
    if (!next || static_cast<int>(*next) >= m_scripts->count()) {
        m_platform.dialogs.inform(this, QStringLiteral("No queda ningún otro script sin traducir."));
        return;
    }
    // A script the filter hides is shown with all the others.
    if (m_scripts->isRowHidden(static_cast<int>(*next)))
        m_cboFiltro->setCurrentIndex(0);
    m_scripts->selectIndex(static_cast<int>(*next));
}

QStringList MainWindow::recentProjects() const {
    return programSettings().value(kRecentKey).toStringList();
}

void MainWindow::rememberProject(const std::string& path, bool opened) {
    const std::vector<std::string> stored = toPaths(recentProjects());
    programSettings().setValue(
        kRecentKey, toList(opened ? withRecentProject(stored, path) : withoutRecentProject(stored, path)));
    fillRecentMenu();
}

void MainWindow::fillRecentMenu() {
    m_mnuRecientes->clear();
    const std::vector<std::string> offered =
        recentProjectsToOffer(toPaths(recentProjects()),
                              [](const std::string& path) { return QFileInfo::exists(pathToQString(path)); });
    for (std::size_t i = 0; i < offered.size(); ++i) {
        QAction* entry = m_mnuRecientes->addAction(toQString(recentProjectCaption(i, offered[i])));
        entry->setObjectName(QStringLiteral("mnuReciente%1").arg(i + 1));
        const std::string path = offered[i];
        connect(entry, &QAction::triggered, this, [this, path] { openProjectFile(path); });
    }
    m_mnuRecientes->menuAction()->setEnabled(m_mnuAbrir->isEnabled() && !offered.empty());
}

void MainWindow::showManual() {
    const QString index = findManualIndex();
    if (index.isEmpty()) {
        m_platform.dialogs.inform(this, QStringLiteral("No se encuentra el manual de usuario. "
                                                       "Vuelva a instalar el programa, por favor."));
        return;
    }
    auto* window = new ManualWindow(index, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

} // namespace tradumar
