// The README's pictures of a translator's working day on the demo project:
// the text-box limits marked in the translation pane, the glossary beside
// the panes flagging a term (the demo ships its glossary), and the manual
// window. Whatever a shot adds to the demo (limits) it takes away again, so
// the other shots see the demo as it was made.
#include <QApplication>
#include <QGroupBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextBrowser>
#include <QUrl>

#include "platform/qt_text.h"
#include "project/workspace.h"
#include "shot.h"
#include "shot_desktop.h"
#include "workspace/main_window.h"
#include "workspace/manual_window.h"

namespace tradumar::shots {

TRADUMAR_SHOT(limits, "limits.png") {
    DemoWindow demo(context.demoProject);
    MainWindow& window = demo.window;
    // 28 characters a line and two lines a box, a box ending at <01>.
    demo.workspace.settings.textBoxLimits = {28, 2, {"<01>"}, {}};
    window.findChild<QListWidget*>(QStringLiteral("Scripts"))
        ->setCurrentRow(3, QItemSelectionModel::ClearAndSelect); // the old man, not yet translated
    auto* pane = window.findChild<QPlainTextEdit*>(QStringLiteral("rtxtTraducido"));
    pane->setPlainText(QStringLiteral("Anciano: El faro lleva apagado\ntres inviernos enteros.\nAlgo vive "
                                      "allí arriba...<01>\n¿Subirás a verlo?<END>"));
    pane->setFocus();
    pane->moveCursor(QTextCursor::End);
    window.refreshStatus();
    QApplication::processEvents();
    const QImage picture = window.findChild<QGroupBox*>(QStringLiteral("fraEdicion"))->grab().toImage();
    pane->document()->setModified(false);
    return picture;
}

TRADUMAR_SHOT(glossary, "glossary.png") {
    // The demo's glossary holds the port, the traveler, the innkeeper...
    DemoWindow demo(context.demoProject);
    MainWindow& window = demo.window;
    // The first script: its saved translation keeps the port but not the traveler.
    window.findChild<QListWidget*>(QStringLiteral("Scripts"))
        ->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    window.refreshStatus();
    QApplication::processEvents();
    const QImage picture = window.grab().toImage();
    return picture;
}

TRADUMAR_SHOT(manualWindow, "manual_window.png") {
    ManualWindow manual(findManualIndex());
    manual.resize(760, 560);
    auto* browser = manual.findChild<QTextBrowser*>(QStringLiteral("txtManual"));
    browser->setSource(
        QUrl::fromLocalFile(findManualIndex()).resolved(QUrl(QStringLiteral("traducir.html#limites"))));
    manual.show();
    QApplication::processEvents();
    return manual.grab().toImage();
}

} // namespace tradumar::shots
