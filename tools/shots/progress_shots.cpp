// The README's picture of the translation's progress: the marks before the
// scripts' names and the summary in the status bar, after a new translation
// within its size was saved (and removed again afterwards, so the other
// shots see the demo as it was made).
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>

#include "platform/qt_text.h"
#include "project/workspace.h"
#include "shot.h"
#include "shot_desktop.h"
#include "workspace/main_window.h"

namespace tradumar::shots {

TRADUMAR_SHOT(progress, "progress.png") {
    DemoWindow demo(context.demoProject);
    MainWindow& window = demo.window;

    auto* scripts = window.findChild<QListWidget*>(QStringLiteral("Scripts"));
    scripts->setCurrentRow(3, QItemSelectionModel::ClearAndSelect); // 18100[77].txt, not yet translated
    window.findChild<QPlainTextEdit*>(QStringLiteral("rtxtTraducido"))
        ->setPlainText(QStringLiteral("Hola, viajero."));
    window.saveTranslation();
    scripts->setFocus();
    window.refreshStatus();
    QApplication::processEvents();
    const QImage picture = window.grab().toImage();
    QFile::remove(pathToQString(demo.workspace.settings.scriptsFolder) +
                  QStringLiteral("/Traducidos/18100[77].txt"));
    return picture;
}

} // namespace tradumar::shots
