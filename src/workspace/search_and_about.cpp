// The search window and the about window, opened from the main window.
#include "project/workspace.h"
#include "search/search_window.h"
#include "windows/about_window.h"
#include "workspace/main_window.h"

namespace tradumar {

std::unique_ptr<SearchWindow> MainWindow::createSearchWindow(QWidget* owner) {
    return std::make_unique<SearchWindow>(m_workspace.settings, m_platform.dialogs,
                                          SearchSources{m_ori, m_trans, m_scripts, m_rtxtOriginal}, owner);
}

void MainWindow::showSearch(QWidget* owner) {
    createSearchWindow(owner)->exec();
}

void MainWindow::showAbout() {
    AboutWindow about(this);
    about.exec();
}

} // namespace tradumar
