#pragma once

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>
#include <gtest/gtest.h>

#include "platform/qt_text.h"
#include "project/workspace.h"
#include "support/fixture_project.h"
#include "support/scripted_platform.h"
#include "support/widgets.h"
#include "workspace/file_list.h"
#include "workspace/main_window.h"

namespace tradumar::testsupport {

// One timeout of a running timer, delivered the way the event loop does: no
// test waits for a clock.
inline void fire(QTimer* timer) {
    ASSERT_TRUE(timer != nullptr && timer->isActive());
    QTimerEvent event(timer->timerId());
    QCoreApplication::sendEvent(timer, &event);
}

// The real main window over its own state and the scripted desktop.
class WindowHarness {
public:
    Workspace workspace;
    ScriptedPlatform desktop;
    MainWindow window;

    explicit WindowHarness(const QString& startFolder = QStringLiteral("/start/folder"))
        : window(workspace, desktop.platform(), startFolder) {
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    template <typename T = QWidget> T* find(const char* name) const { return child<T>(window, name); }
    QPlainTextEdit* translationPane() const { return find<QPlainTextEdit>("rtxtTraducido"); }
    QPlainTextEdit* originalPane() const { return find<QPlainTextEdit>("rtxtOriginal"); }
    FileList* scripts() const { return find<FileList>("Scripts"); }
    QString label(const char* name) const { return find<QLabel>(name)->text(); }
    QAction* action(const char* name) const { return find<QAction>(name); }
    QAction* menu(const char* name) const { return find<QMenu>(name)->menuAction(); }
    void click(const char* button) const { find<QPushButton>(button)->click(); }
    std::vector<RecordedMessage>& messages() { return desktop.dialogs.messages; }

    // "Abrir" with the project file chosen in the picker.
    void openProject(const std::string& projectFile) {
        desktop.dialogs.fileAnswers.push_back(pathToQString(projectFile));
        window.openProject();
    }
    void openProject(const FixtureProject& project) {
        project.writeProjectFile();
        openProject(project.projectFile);
    }

    // The user clicks an entry of the script list.
    void clickScript(int row) {
        FileList* list = scripts();
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    // Types into the translation pane, one key event per character, as a
    // keyboard would: QTest::keyClicks cannot send characters beyond ASCII.
    void type(const QString& text) {
        for (const QChar ch : text) {
            if (ch == QLatin1Char('\n'))
                QTest::keyClick(translationPane(), Qt::Key_Return);
            else
                QTest::sendKeyEvent(QTest::Click, translationPane(), Qt::Key_unknown, QString(ch),
                                    Qt::NoModifier);
        }
    }

    // The project commands a user can choose now, in menu order.
    QString enabledCommands() const {
        QStringList on;
        for (const char* name : {"mnuNuevo", "mnuAbrir", "mnuCerrar", "mnuConfig", "mnuGuardar"})
            if (action(name)->isEnabled())
                on << QString::fromUtf8(name + 3);
        for (const char* name : {"mnuEdición", "mnuHerramientas"})
            if (menu(name)->isEnabled())
                on << QString::fromUtf8(name + 3);
        return on.join(QLatin1Char(' '));
    }

    QString paneText() const { return translationPane()->toPlainText(); }
    QString originalText() const { return originalPane()->toPlainText(); }

    // One tick of Timer2.
    void tick() { window.refreshStatus(); }
};

} // namespace tradumar::testsupport
