// The translation's progress in the main window: the marks before the
// scripts' names, the summary in the status bar, the progress window, and
// the patch that ships the translated ROM.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

#include "patching/patch_command.h"
#include "platform/qt_text.h"
#include "pointers/verification.h"
#include "project/workspace.h"
#include "workspace/file_list.h"
#include "workspace/main_window.h"
#include "workspace/progress_marks.h"
#include "workspace/progress_window.h"

namespace tradumar {

void MainWindow::buildProgressControls() {
    m_marks = std::make_unique<ProgressMarks>();
    m_lblProgreso = new QLabel(this);
    m_lblProgreso->setObjectName(QStringLiteral("lblProgreso"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(m_lblProgreso, 1);

    m_mnuHerramientas->addSeparator();
    m_mnuParche = m_mnuHerramientas->addAction(QStringLiteral("Crear parche..."));
    m_mnuParche->setObjectName(QStringLiteral("mnuParche"));
    m_mnuProgreso = m_mnuHerramientas->addAction(QStringLiteral("Progreso de la traducción"));
    m_mnuProgreso->setObjectName(QStringLiteral("mnuProgreso"));
    for (QAction* action : {m_mnuParche, m_mnuProgreso})
        action->setParent(this);
    connect(m_mnuParche, &QAction::triggered, this, &MainWindow::createPatch);
    connect(m_mnuProgreso, &QAction::triggered, this, &MainWindow::showProgress);
}

void MainWindow::refreshProgress() {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(m_scripts->count()));
    for (int row = 0; row < m_scripts->count(); ++row)
        names.push_back(pathFromQString(m_scripts->item(row)->text()));
    m_workspace.progress.followLimits(m_workspace.settings);
    m_workspace.progress.reset(names, pathFromQString(m_scripts->folder()),
                               m_workspace.settings.legacyCodePage, m_workspace.encoderContext());
    m_marks->markAll(m_scripts, m_workspace.progress);
    showProgressSummary();
    applyScriptFilter();
}

void MainWindow::forgetProgress() {
    m_workspace.progress.clear();
    m_lblProgreso->clear();
    applyScriptFilter();
}

void MainWindow::remeasureScript(const std::string& fileName) {
    if (!m_workspace.progress.update(fileName, m_workspace.encoderContext()))
        return;
    m_marks->markOne(m_scripts, *m_workspace.progress.find(fileName));
    showProgressSummary();
    applyScriptFilter();
}

void MainWindow::showProgressSummary() {
    m_lblProgreso->setText(toQString(summaryText(m_workspace.progress.summary())));
}

void MainWindow::showProgress() {
    showProgressWith(checkProjectRom(m_workspace.settings, m_workspace.encoderContext()));
}

void MainWindow::showProgressWith(const RomCheck& check) {
    // Window-modal but not blocking: the main window stays behind it, and a
    // double click opens the script there.
    auto* window = new ProgressWindow(
        m_workspace.progress.scripts(), m_workspace.progress.summary(), m_platform.clipboard,
        [this](const QString& fileName) {
            const QList<QListWidgetItem*> found = m_scripts->findItems(fileName, Qt::MatchExactly);
            if (!found.isEmpty())
                m_scripts->selectIndex(m_scripts->row(found.front()));
        },
        this);
    window->showRomStates(check);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->open();
}

void MainWindow::createPatch() {
    tradumar::createPatch(this, m_platform.dialogs, m_workspace.settings);
}

} // namespace tradumar
