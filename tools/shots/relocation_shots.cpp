// The README's picture of relocation: the insert-all report of the demo
// project with "Reubicar los que exceden su tamaño" ticked, where the
// translation of 18300 (too long for its 13 bytes) moves to the free space.
#include <QAction>
#include <QCheckBox>
#include <QTableWidget>
#include <QTimer>

#include "insertion/insert_all_dialog.h"
#include "shot.h"
#include "shot_desktop.h"
#include "workspace/main_window.h"

namespace tradumar::shots {

TRADUMAR_SHOT(relocation, "relocation.png") {
    DemoWindow demo(context.demoProject);
    MainWindow& window = demo.window;
    QImage picture;
    QTimer::singleShot(200, [&picture, &window] {
        if (auto* report = window.findChild<InsertAllDialog*>()) {
            report->findChild<QCheckBox*>(QStringLiteral("chkReubicar"))->setChecked(true);
            report->resize(720, 260);
            report->findChild<QTableWidget*>(QStringLiteral("grdScripts"))->resizeColumnsToContents();
            picture = report->grab().toImage();
            report->reject();
        }
    });
    window.findChild<QAction*>(QStringLiteral("mnuInsertarTodos"))->trigger();
    return picture;
}

} // namespace tradumar::shots
