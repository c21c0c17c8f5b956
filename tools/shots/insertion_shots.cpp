// The README's picture of the report shown before every saved translation is
// inserted, on the demo project with two more translations that cannot go in.
#include <cstdio>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QTimer>

#include "common/file_io.h"
#include "insertion/insert_all_dialog.h"
#include "platform/qt_text.h"
#include "project/workspace.h"
#include "shot.h"
#include "shot_desktop.h"
#include "workspace/main_window.h"

namespace tradumar::shots {

TRADUMAR_SHOT(insertAllReport, "insert_all_report.png") {
    // Two translations that cannot go in, added for the picture and removed after it.
    const std::string translations =
        context.demoProject.substr(0, context.demoProject.find_last_of('/')) + "/scripts/Traducidos/";
    writeFileAtomically(translations + "18100[77].txt", "El precio: 5 \x80 por noche.\r\n");
    writeFileAtomically(translations + "18180[50].txt", "Pulsa <0A para seguir.\r\n");

    DemoWindow demo(context.demoProject);
    MainWindow& window = demo.window;

    QImage picture;
    QTimer::singleShot(200, [&picture, &window] {
        if (auto* report = window.findChild<InsertAllDialog*>()) {
            // Ticked, so the translation over its size is listed as going in too.
            report->findChild<QCheckBox*>(QStringLiteral("chkExcedidos"))->setChecked(true);
            picture = report->grab().toImage();
            report->reject();
        }
    });
    window.findChild<QAction*>(QStringLiteral("mnuInsertarTodos"))->trigger();
    std::remove((translations + "18100[77].txt").c_str());
    std::remove((translations + "18180[50].txt").c_str());
    return picture;
}

} // namespace tradumar::shots
