// Takes the README's picture of the project dialog, opened with "Configurar"
// on the demo project. Runs only when TRADUMAR_SHOTS_DIR names the folder to
// write project_dialog.png to and TRADUMAR_DEMO_PROJECT the demo's Demo.tpr,
// on a real X display, e.g.
//   TRADUMAR_SHOTS_DIR=docs TRADUMAR_DEMO_PROJECT=$PWD/demo/Demo.tpr QT_QPA_PLATFORM=xcb
//   xvfb-run -a -s "-screen 0 1024x768x24" build/tests/tradumar_ui_tests --gtest_filter='ProjectDialogShot.*'
#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTimer>

#include "support/window_harness.h"

namespace tradumar {
namespace {

TEST(ProjectDialogShot, ConfiguringTheDemoProject) {
    const QString folder = qEnvironmentVariable("TRADUMAR_SHOTS_DIR");
    const QString demo = qEnvironmentVariable("TRADUMAR_DEMO_PROJECT");
    if (folder.isEmpty() || demo.isEmpty())
        GTEST_SKIP() << "set TRADUMAR_SHOTS_DIR and TRADUMAR_DEMO_PROJECT to take the picture";

    testsupport::WindowHarness h;
    h.openProject(pathFromQString(demo));
    QAction* configure = h.window.findChild<QAction*>(QStringLiteral("mnuConfig"));
    ASSERT_NE(configure, nullptr);

    // The dialog is modal: take its picture from inside its own event loop, then close it.
    const QString file = QDir(folder).absoluteFilePath(QStringLiteral("project_dialog.png"));
    int status = -1;
    QString caption;
    QTimer::singleShot(800, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        caption = dialog->windowTitle();
        status = QProcess::execute(QStringLiteral("import"),
                                   {QStringLiteral("-window"),
                                    QStringLiteral("0x%1").arg(dialog->winId(), 0, 16), file});
        dialog->close();
    });
    configure->trigger();
    EXPECT_EQ(caption, QStringLiteral("Configurar proyecto"));
    EXPECT_EQ(status, 0);
}

} // namespace
} // namespace tradumar
