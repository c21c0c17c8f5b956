// The README's pictures of the ROM's side of the demo: the progress window
// with its column "En la ROM" while one script is inserted (and taken back
// afterwards), and the pointer search of a script.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QTableWidget>
#include <QTimer>

#include "shot.h"
#include "shot_desktop.h"
#include "workspace/main_window.h"
#include "workspace/progress_window.h"

namespace tradumar::shots {

TRADUMAR_SHOT(romCheck, "rom_check.png") {
    DemoWindow demo(context.demoProject);
    MainWindow& window = demo.window;
    // The first script goes into the ROM; the other translations wait.
    window.findChild<QListWidget*>(QStringLiteral("Scripts"))
        ->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    window.insertScript();
    window.findChild<QAction*>(QStringLiteral("mnuComprobar"))->trigger();
    QApplication::processEvents();
    QImage picture;
    if (auto* progress = window.findChild<ProgressWindow*>()) {
        progress->resize(640, 300);
        QApplication::processEvents();
        picture = progress->grab().toImage();
        progress->close();
    }
    // The ROM as the demo made it, for the other pictures.
    window.findChild<QAction*>(QStringLiteral("mnuDeshacer"))->trigger();
    return picture;
}

TRADUMAR_SHOT(pointerSearch, "pointer_search.png") {
    DemoWindow demo(context.demoProject);
    MainWindow& window = demo.window;
    auto* scripts = window.findChild<QListWidget*>(QStringLiteral("Scripts"));
    scripts->setCurrentRow(8, QItemSelectionModel::ClearAndSelect); // 18300[13].txt
    QImage picture;
    QTimer::singleShot(200, [&picture] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QStringLiteral("frmPunteros") && top->isVisible()) {
                picture = top->grab().toImage();
                static_cast<QDialog*>(top)->reject();
            }
    });
    window.findChild<QAction*>(QStringLiteral("mnuBuscarPunteros"))->trigger();
    return picture;
}

} // namespace tradumar::shots
