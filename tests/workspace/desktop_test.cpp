// The program on a Linux desktop: a window that grows and remembers its
// size, the keyboard, Qt's texts in Spanish, pickers, files made on Linux and
// a project given at start.
#include <QApplication>
#include <QDir>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QTranslator>

#include "platform/qt_platform.h"
#include "platform/spanish_texts.h"
#include "project/project_dialog.h"
#include "support/window_harness.h"

namespace tradumar {
namespace {

using testsupport::FixtureProject;
using testsupport::WindowHarness;

QSize designedWindow(const WindowHarness& h) {
    return {786, 447 + h.window.menuBar()->height()};
}

TEST(DesktopWindow, GrowsFromTheDesignedLayoutAndNeverShrinksBelowIt) {
    WindowHarness h;
    struct Grown {
        const char* name;
        int dx, dy, dw, dh; // what 201 more pixels of width and 101 of height add
    };
    const Grown rows[] = {
        {"fraEdicion", 0, 0, 201, 101},   {"fraInfo", 201, 0, 0, 101},  {"rtxtTraducido", 0, 0, 201, 50},
        {"rtxtOriginal", 0, 50, 201, 51}, {"Scripts", 0, 0, 0, 101},    {"Shape1", 0, 0, 0, 101},
        {"lblRealesD", 0, 101, 0, 0},     {"lblBytesT", 0, 101, 0, 0},  {"Label1", 0, 0, 0, 0},
        {"cmdAnterior", 0, 101, 0, 0},    {"cmdGuardar", 0, 101, 0, 0},
    };
    std::map<std::string, QRect> before;
    for (const Grown& r : rows)
        before[r.name] = h.find(r.name)->geometry();
    h.window.resize(designedWindow(h) + QSize(201, 101));
    for (const Grown& r : rows)
        EXPECT_EQ(h.find(r.name)->geometry(), before[r.name].adjusted(r.dx, r.dy, r.dx + r.dw, r.dy + r.dh))
            << r.name;
    h.window.resize(400, 300);
    EXPECT_EQ(h.window.size(), designedWindow(h));
    EXPECT_EQ(h.find("cmdGuardar")->geometry(), before["cmdGuardar"]);
}

TEST(DesktopWindow, RemembersSizeAndMaximisedStateOutsideTheProjectFile) {
    FixtureProject project;
    project.script("00[1].txt", "a");
    {
        WindowHarness h;
        h.openProject(project);
        h.window.resize(1000, 700);
        h.window.close();
    }
    {
        WindowHarness h;
        EXPECT_EQ(h.window.size(), QSize(1000, 700));
        h.window.showMaximized();
        h.window.close();
    }
    WindowHarness h;
    EXPECT_TRUE(h.window.isMaximized());
    EXPECT_EQ(testsupport::readFileBytes(project.projectFile).find("eometry"), std::string::npos);
    QSettings(QSettings::IniFormat, QSettings::UserScope, "Tradumar", "Tradumar").clear();
}

TEST(DesktopKeyboard, ShortcutsRunTheirCommandsUnderTheSameEnablingRules) {
    const std::pair<const char*, QKeySequence> shortcuts[] = {
        {"mnuNuevo", Qt::CTRL | Qt::Key_N},   {"mnuAbrir", Qt::CTRL | Qt::Key_O},
        {"mnuGuardar", Qt::CTRL | Qt::Key_S}, {"mnuBuscar", Qt::CTRL | Qt::Key_F},
        {"mnuCorrector", Qt::Key_F7},         {"mnuInsertar", Qt::CTRL | Qt::Key_I},
        {"mnuEmulador", Qt::Key_F5},          {"mnuSalir", Qt::CTRL | Qt::Key_Q},
    };
    FixtureProject project;
    for (const char* name : {"00[1].txt", "01[1].txt", "02[1].txt"})
        project.script(name, "a");
    WindowHarness h;
    for (const auto& [name, key] : shortcuts)
        EXPECT_EQ(h.action(name)->shortcut(), key) << name;
    QApplication::setActiveWindow(&h.window);
    QPlainTextEdit* pane = h.translationPane();
    pane->setFocus();
    // No project: Edición and Herramientas are off, and so are their keys.
    QTest::keyClick(pane, Qt::Key_F5);
    QTest::keyClick(pane, Qt::Key_I, Qt::ControlModifier);
    EXPECT_TRUE(h.desktop.launcher.launches.empty());
    EXPECT_TRUE(h.desktop.dialogs.messages.empty());

    h.openProject(project);
    pane->setFocus();
    const std::pair<QKeyCombination, int> moves[] = {{Qt::ALT | Qt::Key_Right, 1},
                                                     {Qt::CTRL | Qt::Key_PageDown, 2},
                                                     {Qt::ALT | Qt::Key_Right, 2}, // no wrap-around
                                                     {Qt::ALT | Qt::Key_Left, 1},
                                                     {Qt::CTRL | Qt::Key_PageUp, 0}};
    for (const auto& [key, selected] : moves) {
        QTest::keyClick(pane, key.key(), key.keyboardModifiers());
        EXPECT_EQ(h.scripts()->selectedIndex(), selected);
    }
    QTest::keyClick(pane, Qt::Key_F5);
    EXPECT_EQ(h.desktop.launcher.launches.size(), 1u);
    QTest::keyClick(pane, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(h.desktop.dialogs.texts(), QStringList{QStringLiteral("¡Nada que guardar!")});
}

TEST(DesktopKeyboard, AltAndALetterOpenAMenuShownInTheWindowsFont) {
    WindowHarness h;
    EXPECT_EQ(h.window.menuBar()->font(), h.window.font());
    QApplication::setActiveWindow(&h.window);
    QTest::keyClick(&h.window, Qt::Key_P, Qt::AltModifier);
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->objectName(), QStringLiteral("mnuProyecto"));
    EXPECT_EQ(popup->font(), h.window.font());
    popup->close();
}

TEST(DesktopSpanish, AQuestionAnswersSiNoCancelar) {
    QTranslator* spanish = installSpanishQtTexts(*QCoreApplication::instance());
    ASSERT_NE(spanish, nullptr) << "qt6-translations-l10n is not installed";
    QStringList shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (auto button : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            shown << box->button(button)->text().remove(QLatin1Char('&'));
        box->button(QMessageBox::Cancel)->click();
    });
    QtDialogs().message(nullptr, QStringLiteral("¿Desea guardarlos?"), QStringLiteral("Atención"),
                        MessageButtons::YesNoCancel, MessageIcon::Exclamation);
    EXPECT_EQ(shown, (QStringList{"Sí", "No", "Cancelar"}));
    QCoreApplication::removeTranslator(spanish);
    delete spanish;
}

TEST(DesktopPickers, FiltersShowAsWrittenAndEachPickerStartsAtItsFile) {
    EXPECT_EQ(nameFiltersOf(ProjectDialog::romFilter()).mid(7, 4),
              (QStringList{"Gameboy GB(*.gb)", "Gameboy GBC (*.gbc*)", "Game Gear GG  (*.gg)",
                           "Todos los archivos (*.*)"}));
    FixtureProject project;
    WindowHarness h;
    h.workspace.settings.emulatorPath = project.root + "/bin/emulador";
    h.workspace.settings.romPath = "/no/such/folder/game.smc";
    QDir(QString::fromStdString(project.root)).mkdir(QStringLiteral("bin"));
    ProjectDialog dialog(h.workspace.settings, h.desktop.dialogs, h.window, QStringLiteral("/start"));
    dialog.fillFromSettings();
    h.desktop.dialogs.fileAnswers = {QString(), QString()};
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdEmu")), Qt::LeftButton);
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdROM")), Qt::LeftButton);
    ASSERT_EQ(h.desktop.dialogs.fileRequests.size(), 2u);
    EXPECT_EQ(h.desktop.dialogs.fileRequests[0].initialFolder, QString::fromStdString(project.root + "/bin"));
    EXPECT_EQ(h.desktop.dialogs.fileRequests[0].filterIndex, 2); // "Todos los archivos (*)"
    EXPECT_EQ(h.desktop.dialogs.fileRequests[1].initialFolder, QStringLiteral("/start"));
}

TEST(DesktopFiles, LinuxScriptsOpenAndAnUnfitTableIsNamed) {
    FixtureProject project;
    project.script("00[9].txt", "\xC2\xBFQu\xC3\xA9 tal?\nAdi\xC3\xB3s\n");
    WindowHarness h;
    h.openProject(project);
    EXPECT_EQ(h.originalPane()->toPlainText(), QStringLiteral("¿Qué tal?\nAdiós"));
    h.window.closeProject();

    testsupport::writeFileBytes(project.translatedTablePath, "41=A\n42=\xC5\x91\n");
    h.openProject(project);
    EXPECT_EQ(
        h.desktop.dialogs.texts(),
        QStringList{QStringLiteral("El archivo \"%1\" contiene el carácter \"ő\" (U+0151), que no existe "
                                   "en Windows-1252; no se ha cargado.")
                        .arg(QString::fromStdString(project.translatedTablePath))});
    EXPECT_TRUE(h.action("mnuAbrir")->isEnabled()); // the opening stopped there
}

TEST(DesktopStart, AProjectGivenAtStartOpensAsAbrirWould) {
    FixtureProject project;
    project.script("00[1].txt", "Hola");
    project.writeProjectFile();
    WindowHarness h;
    h.window.openProjectFile(QString::fromStdString(project.projectFile));
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Demo - Tradumar 1.0 Beta"));
    EXPECT_EQ(h.originalPane()->toPlainText(), QStringLiteral("Hola"));
    EXPECT_FALSE(h.action("mnuAbrir")->isEnabled());
    EXPECT_TRUE(h.desktop.dialogs.fileRequests.empty());
}

// The README's picture: the demo maximised, asking in Spanish about unsaved
// changes. Runs only with TRADUMAR_SHOTS_DIR and TRADUMAR_DEMO_PROJECT set,
// on a real X display (see main_window_shot_test.cpp).
TEST(DesktopShot, MaximisedWithASpanishQuestion) {
    const QString folder = qEnvironmentVariable("TRADUMAR_SHOTS_DIR");
    const QString demo = qEnvironmentVariable("TRADUMAR_DEMO_PROJECT");
    if (folder.isEmpty() || demo.isEmpty())
        GTEST_SKIP() << "set TRADUMAR_SHOTS_DIR and TRADUMAR_DEMO_PROJECT to take the picture";
    QTranslator* spanish = installSpanishQtTexts(*QCoreApplication::instance());
    WindowHarness h;
    h.window.showMaximized();
    h.window.setGeometry(h.window.screen()->availableGeometry()); // a bare X server has no window manager
    h.openProject(pathFromQString(demo));
    QTimer::singleShot(500, [&] {
        const QString file = QDir(folder).absoluteFilePath(QStringLiteral("desktop_maximised.png"));
        EXPECT_EQ(QProcess::execute(QStringLiteral("import"), {"-window", "root", file}), 0);
        QApplication::activeModalWidget()->close();
    });
    QtDialogs().message(&h.window,
                        QStringLiteral("No se han guardado los cambios anteriores ¿Desea guardarlos?"),
                        QStringLiteral("Atención"), MessageButtons::YesNoCancel, MessageIcon::Exclamation);
    QCoreApplication::removeTranslator(spanish);
    delete spanish;
}

} // namespace
} // namespace tradumar
