#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "platform/qt_platform.h"
#include "platform/spanish_texts.h"
#include "workspace/main_window.h"
#include "workspace/workspace.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tradumar"));
    QApplication::setDesktopFileName(QStringLiteral("tradumar"));
    tradumar::installSpanishQtTexts(app);

    tradumar::Workspace workspace;
    tradumar::QtPlatform platform;
    // "Abrir" and the project pickers start in the folder the program was
    // started from.
    tradumar::MainWindow window(workspace, platform.platform(), QDir::currentPath());
    window.show();
    // "tradumar Juego.tpr", and a project opened from the file manager, opens
    // that project at once, as "Abrir" would.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        window.openProjectFile(QFileInfo(arguments.at(1)).absoluteFilePath());
    return app.exec();
}
