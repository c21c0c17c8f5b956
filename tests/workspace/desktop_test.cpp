// The program on a Linux desktop: window, keyboard, pickers, Linux files, project at start.
#include <QApplication>
#include <QMenuBar>
#include <QSettings>

#include "project/project_dialog.h"
#include "support/window_harness.h"

namespace tradumar::testsupport {
namespace {

TEST(DesktopWindow, GrowsFromTheDesignedLayoutAndNeverShrinksBelowIt) {
    WindowHarness h;
    const QSize designed = h.window.size();
    const struct {
        const char* name;
        int dx, dy, dw, dh; // what 201 more pixels of width and 101 of height add
    } rows[] = {{"fraEdicion", 0, 0, 201, 101},   {"fraInfo", 201, 0, 0, 101},
                {"rtxtTraducido", 0, 0, 201, 50}, {"rtxtOriginal", 0, 50, 201, 51},
                {"Scripts", 0, 0, 0, 101},        {"lblRealesD", 0, 101, 0, 0},
                {"Label1", 0, 0, 0, 0},           {"cmdGuardar", 0, 101, 0, 0}};
    std::map<std::string, QRect> before;
    for (const auto& r : rows)
        before[r.name] = h.find(r.name)->geometry();
    h.window.resize(designed + QSize(201, 101));
    for (const auto& r : rows)
        EXPECT_EQ(h.find(r.name)->geometry(), before[r.name].adjusted(r.dx, r.dy, r.dx + r.dw, r.dy + r.dh))
            << r.name;
    h.window.resize(400, 300);
    EXPECT_EQ(h.window.size(), designed);
}

TEST(DesktopWindow, RemembersSizeAndMaximisedState) {
    for (const bool maximise : {false, true}) {
        WindowHarness h;
        maximise ? h.window.showMaximized() : h.window.resize(1000, 700);
        h.window.close();
        WindowHarness next;
        EXPECT_EQ(next.window.isMaximized(), maximise);
        if (!maximise) {
            EXPECT_EQ(next.window.size(), QSize(1000, 700));
        }
    }
    QSettings(QSettings::IniFormat, QSettings::UserScope, "Tradumar", "Tradumar").clear();
}

TEST(DesktopKeyboard, ShortcutsAndMnemonicsRunTheirCommandsUnderTheSameEnablingRules) {
    FixtureProject project;
    for (const char* name : {"00[1].txt", "01[1].txt", "02[1].txt"})
        project.script(name, "a");
    WindowHarness h;
    const std::pair<const char*, const char*> shortcuts[] = {
        {"mnuNuevo", "Ctrl+N"}, {"mnuAbrir", "Ctrl+O"},    {"mnuGuardar", "Ctrl+S"}, {"mnuBuscar", "Ctrl+F"},
        {"mnuCorrector", "F7"}, {"mnuInsertar", "Ctrl+I"}, {"mnuEmulador", "F5"},    {"mnuSalir", "Ctrl+Q"}};
    for (const auto& [name, key] : shortcuts)
        EXPECT_EQ(h.action(name)->shortcut(), QKeySequence(QString::fromUtf8(key))) << name;
    QApplication::setActiveWindow(&h.window);
    QPlainTextEdit* pane = h.translationPane();
    const auto press = [pane](const char* key) {
        QTest::keySequence(pane, QKeySequence(QString::fromUtf8(key)));
    };
    // No project: Edición and Herramientas are off, and so are their keys.
    press("F5");
    press("Ctrl+I");
    EXPECT_TRUE(h.desktop.launcher.launches.empty());
    EXPECT_TRUE(h.desktop.dialogs.messages.empty());

    h.openProject(project);
    const std::pair<const char*, int> moves[] = {
        {"Alt+Right", 1}, {"Ctrl+PgDown", 2}, {"Alt+Right", 2}, {"Alt+Left", 1}, {"Ctrl+PgUp", 0}};
    for (const auto& [key, selected] : moves) {
        press(key);
        EXPECT_EQ(h.scripts()->selectedIndex(), selected) << key;
    }
    press("F5"); // the fixture has no emulator: the command runs and says so
    EXPECT_EQ(h.desktop.dialogs.messages.size(), 1u);
    press("Ctrl+S");
    EXPECT_EQ(h.desktop.dialogs.texts().back(), QStringLiteral("¡Nada que guardar!"));

    // Alt and a letter open a menu, in the window's font.
    EXPECT_EQ(h.window.menuBar()->font(), h.window.font());
    QTest::keyClick(&h.window, Qt::Key_P, Qt::AltModifier);
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->objectName(), QStringLiteral("mnuProyecto"));
    popup->close();
}

TEST(DesktopPickers, EachPickerStartsAtItsFile) {
    FixtureProject project;
    WindowHarness h;
    h.workspace.settings.emulatorPath = project.romPath;
    h.workspace.settings.romPath = "/no/such/folder/game.smc";
    h.workspace.settings.scriptsFolder = project.scriptsFolder;
    ProjectDialog dialog(h.workspace.settings, h.desktop.dialogs, h.window, QStringLiteral("/start"));
    dialog.fillFromSettings();
    h.desktop.dialogs.fileAnswers = {QString(), QString()};
    for (const char* button : {"cmdEmu", "cmdROM"})
        QTest::mouseClick(child<QPushButton>(dialog, button), Qt::LeftButton);
    const std::vector<FileRequest>& asked = h.desktop.dialogs.fileRequests;
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].initialFolder, QString::fromStdString(project.root));
    EXPECT_EQ(asked[1].initialFolder, QStringLiteral("/start"));
    h.desktop.dialogs.folderAnswers = {QString()};
    QTest::mouseClick(child<QPushButton>(dialog, "cmdDirScripts"), Qt::LeftButton);
    EXPECT_EQ(h.desktop.dialogs.folderStarts,
              std::vector<QString>{QString::fromStdString(project.scriptsFolder)});
}

TEST(DesktopFiles, AProjectGivenAtStartOpensItsLinuxScriptAndABrokenTableIsNamed) {
    FixtureProject project;
    project.script("00[9].txt", "\xC2\xBFQu\xC3\xA9 tal?\nAdi\xC3\xB3s\n");
    project.writeProjectFile();
    WindowHarness h;
    h.window.openProjectFile(project.projectFile);
    EXPECT_EQ(h.originalPane()->toPlainText(), QStringLiteral("¿Qué tal?\nAdiós"));
    h.window.closeProject();

    // Marked as UTF-8, yet broken at its twelfth byte.
    writeBytes(project.translatedTablePath, "\xEF\xBB\xBF"
                                            "41=A\n42=\xE9\n");
    h.desktop.dialogs.answers = {MessageAnswer::No}; // no correcting the project
    h.window.openProjectFile(project.projectFile);
    EXPECT_EQ(
        h.desktop.dialogs.texts(),
        (QStringList{QStringLiteral("No se pudo abrir el proyecto Demo.tpr: la tabla traducida %1 no está en "
                                    "UTF-8 ni en Windows-1252 (byte 0xE9 en la posición 11)")
                         .arg(QString::fromStdString(project.translatedTablePath)),
                     QStringLiteral("¿Desea corregir el proyecto?")}));
    EXPECT_TRUE(h.action("mnuAbrir")->isEnabled()); // the opening stopped there
}

} // namespace
} // namespace tradumar::testsupport
