// Takes the README's picture of the main window on the demo project. Runs
// only when TRADUMAR_SHOTS_DIR names the folder to write main_window.png to
// and TRADUMAR_DEMO_PROJECT the demo's Demo.tpr, on a real X display, e.g.
//   TRADUMAR_SHOTS_DIR=docs TRADUMAR_DEMO_PROJECT=$PWD/demo/Demo.tpr QT_QPA_PLATFORM=xcb
//   xvfb-run -a -s "-screen 0 1024x768x24" build/tests/tradumar_ui_tests --gtest_filter='MainWindowShot.*'
#include <QDir>
#include <QProcess>

#include "support/window_harness.h"

namespace tradumar {
namespace {

TEST(MainWindowShot, DemoProjectWithATranslationOpen) {
    const QString folder = qEnvironmentVariable("TRADUMAR_SHOTS_DIR");
    const QString demo = qEnvironmentVariable("TRADUMAR_DEMO_PROJECT");
    if (folder.isEmpty() || demo.isEmpty())
        GTEST_SKIP() << "set TRADUMAR_SHOTS_DIR and TRADUMAR_DEMO_PROJECT to take the picture";

    testsupport::WindowHarness h;
    h.window.move(0, 0);
    h.openProject(pathFromQString(demo));
    ASSERT_EQ(h.window.windowTitle(), QStringLiteral("Demo - Tradumar 1.0 Beta"));
    h.clickScript(1);
    QPlainTextEdit* pane = h.translationPane();
    pane->setFocus();
    pane->moveCursor(QTextCursor::Down);
    pane->moveCursor(QTextCursor::EndOfLine);
    QTest::qWait(300);

    const QString file = QDir(folder).absoluteFilePath(QStringLiteral("main_window.png"));
    const int status = QProcess::execute(
        QStringLiteral("import"),
        {QStringLiteral("-window"), QStringLiteral("0x%1").arg(h.window.winId(), 0, 16), file});
    EXPECT_EQ(status, 0);
}

} // namespace
} // namespace tradumar
