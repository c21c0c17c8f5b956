// Takes the README's picture of the spell check: the suggestions dialog over
// the main window on the demo project. Runs only when TRADUMAR_SHOTS_DIR and
// TRADUMAR_DEMO_PROJECT are set, on a real X display, e.g.
//   TRADUMAR_SHOTS_DIR=docs TRADUMAR_DEMO_PROJECT=$PWD/demo/Demo.tpr QT_QPA_PLATFORM=xcb
//   xvfb-run -a -s "-screen 0 1024x768x24" build/tests/tradumar_ui_tests --gtest_filter='SpellCheckShot.*'
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QProcess>
#include <QTimer>

#include "spellcheck/suggestions_dialog.h"
#include "support/window_harness.h"

namespace tradumar {
namespace {

TEST(SpellCheckShot, SuggestionsOverTheDemoTranslation) {
    const QString folder = qEnvironmentVariable("TRADUMAR_SHOTS_DIR");
    const QString demo = qEnvironmentVariable("TRADUMAR_DEMO_PROJECT");
    if (folder.isEmpty() || demo.isEmpty())
        GTEST_SKIP() << "set TRADUMAR_SHOTS_DIR and TRADUMAR_DEMO_PROJECT to take the picture";

    testsupport::WindowHarness h;
    h.window.move(0, 0);
    h.openProject(pathFromQString(demo));
    h.clickScript(1);
    // Two slips of the kind a translator makes.
    QString text = h.paneText();
    text.replace(QStringLiteral("habitación"), QStringLiteral("abitación"));
    text.replace(QStringLiteral("noche"), QStringLiteral("noshe"));
    h.translationPane()->setPlainText(text);

    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<SuggestionsDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible())
            return;
        poll.stop();
        dialog->findChild<QListWidget*>(QStringLiteral("List1"))->setCurrentRow(0);
        dialog->findChild<QListWidget*>(QStringLiteral("List2"))->setCurrentRow(0);
        QTest::qWait(400);
        const QRect area = h.window.frameGeometry();
        const QString file = QDir(folder).absoluteFilePath(QStringLiteral("spell_check.png"));
        EXPECT_EQ(
            QProcess::execute(QStringLiteral("import"),
                              {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("-crop"),
                               QStringLiteral("%1x%2+%3+%4")
                                   .arg(area.width())
                                   .arg(area.height())
                                   .arg(area.x())
                                   .arg(area.y()),
                               file}),
            0);
        dialog->close();
    });
    poll.start();
    h.window.checkSpelling();
    EXPECT_FALSE(poll.isActive());
}

} // namespace
} // namespace tradumar
