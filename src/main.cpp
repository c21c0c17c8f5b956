#include <QApplication>
#include <QDir>

#include "platform/qt_platform.h"
#include "windows/splash_window.h"
#include "workspace/main_window.h"
#include "workspace/workspace.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tradumar"));

    // The splash comes first; the main window is built once it has closed.
    if (tradumar::SplashWindow::wanted(QApplication::arguments())) {
        tradumar::SplashWindow splash;
        splash.exec();
    }

    tradumar::Workspace workspace;
    tradumar::QtPlatform platform;
    // "Abrir" and the project pickers start in the folder the program was
    // started from.
    tradumar::MainWindow window(workspace, platform.platform(), QDir::currentPath());
    window.show();
    return app.exec();
}
