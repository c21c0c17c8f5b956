#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>

#include "platform/qt_platform.h"
#include "platform/qt_text.h"
#include "platform/spanish_texts.h"
#include "project/workspace.h"
#include "windows/splash_window.h"
#include "workspace/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tradumar"));
    QApplication::setDesktopFileName(QStringLiteral("tradumar"));
    // The icon `cmake --install` puts in the desktop's icon theme.
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tradumar")));
    tradumar::installSpanishQtTexts(app);

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
    // "tradumar Juego.tpr", and a project opened from the file manager, opens
    // that project at once, as "Abrir" would.
    for (const QString& argument : QApplication::arguments().mid(1)) {
        if (!argument.startsWith(QStringLiteral("--"))) {
            window.openProjectFile(tradumar::pathFromQString(QFileInfo(argument).absoluteFilePath()));
            break;
        }
    }
    return app.exec();
}
