// The README's pictures of the main window and the project dialog, on the demo project.
#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QTimer>

#include "platform/qt_text.h"
#include "project/workspace.h"
#include "shot.h"
#include "shot_desktop.h"
#include "workspace/main_window.h"

namespace tradumar::shots {
namespace {

// What a modal dialog opened by `open` shows once it is up; the dialog is closed afterwards.
QImage grabModal(const std::function<void()>& open) {
    QImage picture;
    QTimer::singleShot(200, [&picture] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            picture = dialog->grab().toImage();
            dialog->close();
        }
    });
    open();
    return picture;
}

} // namespace

TRADUMAR_SHOT(mainWindow, "main_window.png") {
    DemoWindow demo(context.demoProject);
    demo.window.nextScript(); // the second script, with its saved translation
    auto* pane = demo.window.findChild<QPlainTextEdit*>(QStringLiteral("rtxtTraducido"));
    pane->setFocus();
    pane->moveCursor(QTextCursor::Down);
    pane->moveCursor(QTextCursor::EndOfLine);
    QApplication::processEvents();
    demo.window.refreshStatus(); // the figures as the next tick of the status timer shows them
    return demo.window.grab().toImage();
}

TRADUMAR_SHOT(projectDialog, "project_dialog.png") {
    DemoWindow demo(context.demoProject);
    return grabModal([&demo] { demo.window.findChild<QAction*>(QStringLiteral("mnuConfig"))->trigger(); });
}

} // namespace tradumar::shots
