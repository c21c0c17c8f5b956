// The README's picture of the report shown before every saved translation is
// inserted, on the demo project with two more translations that cannot go in.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QTimer>

#include "common/file_io.h"
#include "insertion/insert_all_dialog.h"
#include "platform/ansi_text.h"
#include "shot.h"
#include "shot_desktop.h"
#include "workspace/main_window.h"
#include "workspace/workspace.h"

namespace tradumar::shots {

TRADUMAR_SHOT(insertAllReport, "insert_all_report.png") {
    const std::string demo = context.demoProject.substr(0, context.demoProject.find_last_of('/'));
    writeFileAtomically(demo + "/scripts/Traducidos/18100[77].txt", "El precio: 5 \x80 por noche.\r\n");
    writeFileAtomically(demo + "/scripts/Traducidos/18180[50].txt", "Pulsa <0A para seguir.\r\n");

    Workspace workspace;
    ShotDesktop desktop;
    MainWindow window(workspace, desktop.platform(), pathToQString(demo));
    window.show();
    desktop.fileAnswers.push_back(pathToQString(context.demoProject));
    window.openProject();

    QImage picture;
    QTimer::singleShot(200, [&picture, &window] {
        if (auto* report = window.findChild<InsertAllDialog*>()) {
            // The demo's translations all run over their size once encoded.
            report->findChild<QCheckBox*>(QStringLiteral("chkExcedidos"))->setChecked(true);
            picture = report->grab().toImage();
            report->reject();
        }
    });
    window.findChild<QAction*>(QStringLiteral("mnuInsertarTodos"))->trigger();
    return picture;
}

} // namespace tradumar::shots
