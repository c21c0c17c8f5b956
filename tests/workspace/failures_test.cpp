#include <filesystem>
#include <functional>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>

#include "support/window_harness.h"
#include "workspace/emulator.h"

namespace tradumar {
namespace {

using testsupport::FixtureProject;
using testsupport::info;
using testsupport::RecordedMessage;
using testsupport::WindowHarness;
namespace fs = std::filesystem;

const QString kNoScript =
    QStringLiteral("No hay ningún script abierto: abra un proyecto y elija un script de la lista.");

QString q(const std::string& path) {
    return pathToQString(path);
}

void expectClosed(const WindowHarness& h) {
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Tradumar 1.0 Beta"));
    EXPECT_TRUE(h.action("mnuAbrir")->isEnabled() && h.action("mnuNuevo")->isEnabled());
    EXPECT_FALSE(h.action("mnuCerrar")->isEnabled() || h.menu("mnuEdición")->isEnabled());
    EXPECT_FALSE(h.scripts()->isVisible());
    EXPECT_TRUE(h.originalPane()->toPlainText().isEmpty());
    EXPECT_FALSE(h.workspace.openScriptIndex.has_value());
    EXPECT_TRUE(h.workspace.openScriptFile.empty() && h.workspace.settings.projectFilePath.empty());
    EXPECT_TRUE(h.workspace.translatedTable.at(1).empty());
}

// Runs the project dialog that `open` shows, doing `act` in it, then closes it if still open.
void inProjectDialog(const std::function<void()>& open, const std::function<void(QDialog&)>& act) {
    QTimer::singleShot(0, [act] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible() && d->objectName() == "frmNuevo") {
                act(*d);
                if (d->isVisible())
                    d->reject();
                return;
            }
        ADD_FAILURE() << "no project dialog";
    });
    open();
}

void click(QDialog& d, const char* name) {
    d.findChild<QPushButton*>(QLatin1String(name))->click();
}

TEST(Failures, AProjectThatFailsToOpenSaysWhyAndLeavesNothingOpen) {
    std::string big;
    for (int i = 0; i < 5001; ++i)
        big += "00=e" + std::to_string(i) + "\r\n";
    const struct {
        std::function<void(FixtureProject&)> breakIt;
        std::function<QString(const FixtureProject&)> why;
    } cases[] = {
        {[](FixtureProject& p) { p.index = "abc"; },
         [](auto&) {
             return QStringLiteral(
                 "el índice de script guardado \"abc\" no es un número entre -32768 y 32767");
         }},
        {[](FixtureProject& p) { p.scriptsFolder = p.root + "/nowhere"; },
         [](auto& p) { return "no existe la carpeta de scripts " + q(p.root) + "/nowhere"; }},
        {[](FixtureProject& p) { p.originalTablePath = p.root + "/no/o.tbl"; },
         [](auto& p) {
             return "no se pudo crear la tabla original " + q(p.root) +
                    "/no/o.tbl (2: No existe el archivo o la carpeta)";
         }},
        {[&big](FixtureProject& p) { testsupport::writeFileBytes(p.translatedTablePath, big); },
         [](auto& p) {
             return "la tabla traducida " + q(p.translatedTablePath) + " tiene más de 5000 entradas";
         }},
    };
    for (const auto& c : cases) {
        WindowHarness h;
        FixtureProject project;
        project.script("00[4].txt", "Hola");
        project.writeProjectFile();
        testsupport::writeFileBytes(project.root + "/notes.tpr", std::string("\0\1\xFF plain", 9));
        h.openProject(project.root + "/notes.tpr");
        c.breakIt(project);
        h.openProject(project);
        EXPECT_EQ(
            h.desktop.dialogs.texts(),
            (QStringList{"No se pudo abrir el proyecto notes.tpr: el archivo no es un proyecto de Tradumar",
                         "No se pudo abrir el proyecto Demo.tpr: " + c.why(project)}));
        expectClosed(h);
    }
}

TEST(Failures, AStoredIndexPastTheListSelectsNothingAndOpensTheProject) {
    WindowHarness h;
    FixtureProject project;
    project.script("00[4].txt", "Hola");
    project.index = "5";
    h.openProject(project);
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Demo - Tradumar 1.0 Beta"));
    EXPECT_EQ(h.scripts()->selectedIndex(), -1);
    EXPECT_FALSE(h.action("mnuAbrir")->isEnabled());
    EXPECT_TRUE(h.desktop.dialogs.messages.empty());
}

TEST(Failures, ANewProjectOpensAsAbrirOpensItAndValuesTheFileCannotHoldAreRefused) {
    const struct {
        QString name;
        std::string romSuffix;
        QString refusal; // empty: accepted
    } cases[] = {
        {QStringLiteral("Demo ā"), "",
         QStringLiteral(
             "El nombre del proyecto contiene caracteres que el archivo de proyecto no puede guardar: ā")},
        {QStringLiteral("Demo"), "\nx",
         QStringLiteral(
             "La ruta de la ROM contiene un salto de línea, que el archivo de proyecto no puede guardar.")},
        {QStringLiteral("Demo"), "", QString()},
    };
    for (const auto& c : cases) {
        WindowHarness h;
        FixtureProject project;
        project.script("00[4].txt", "Hola");
        auto& d = h.desktop.dialogs;
        d.folderAnswers = {q(project.root), q(project.scriptsFolder)};
        d.fileAnswers = {q(project.romPath + c.romSuffix), q(project.originalTablePath),
                         q(project.translatedTablePath), q(project.emulatorPath)};
        inProjectDialog([&] { h.action("mnuNuevo")->trigger(); },
                        [&](QDialog& dialog) {
                            dialog.findChild<QLineEdit*>(QStringLiteral("txtNombre"))->setText(c.name);
                            for (const char* picker : {"cmdPatchPrj", "cmdDirScripts", "cmdROM", "cmdOTBL",
                                                       "cmdTTBL", "cmdEmu", "cmdAceptar"})
                                click(dialog, picker);
                        });
        EXPECT_EQ(d.texts(), c.refusal.isEmpty() ? QStringList() : QStringList{c.refusal});
        EXPECT_EQ(fs::exists(project.projectFile), c.refusal.isEmpty());
        if (!c.refusal.isEmpty())
            continue;
        EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Demo - Tradumar 1.0 Beta"));
        EXPECT_EQ(h.originalPane()->toPlainText(), QStringLiteral("Hola"));
        EXPECT_NE(h.workspace.translatedTable.find("\xE9"), 0);
    }
}

TEST(Failures, CancellingConfigurePutsTheScriptsFolderBack) {
    WindowHarness h;
    FixtureProject project, other;
    project.script("00[4].txt", "Hola");
    other.script("11[2].txt", "Si");
    h.openProject(project);
    h.desktop.dialogs.folderAnswers = {q(other.scriptsFolder)};
    inProjectDialog([&] { h.action("mnuConfig")->trigger(); }, [](QDialog& d) { click(d, "cmdDirScripts"); });
    EXPECT_EQ(h.scripts()->fileNames(), QStringList{"00[4].txt"});
    EXPECT_EQ(h.workspace.settings.scriptsFolder, project.scriptsFolder);
    h.type("Hi");
    h.window.saveTranslation();
    EXPECT_EQ(project.translationFile("00[4].txt"), "Hi\r\n");
}

TEST(Failures, CommandsWithoutAnOpenScriptDoNothingButSaySo) {
    const struct {
        void (MainWindow::*command)();
        QStringList said;
    } cases[] = {{&MainWindow::saveTranslation, {kNoScript}},
                 {&MainWindow::insertScript, {kNoScript}},
                 {&MainWindow::nextScript, {}},
                 {&MainWindow::previousScript, {}}};
    for (const auto& c : cases) {
        WindowHarness h;
        FixtureProject project;
        project.script("00[4].txt", "Hola");
        project.script("01[4].txt", "Chau");
        h.openProject(project);
        h.action("mnuCerrar")->trigger(); // the list keeps a stale selection
        h.type("abc");
        (h.window.*c.command)();
        EXPECT_EQ(h.desktop.dialogs.texts(), c.said);
        EXPECT_EQ(h.paneText(), QStringLiteral("abc"));
        EXPECT_FALSE(fs::exists("/Traducidos"));
    }
}

TEST(Failures, OnlyARealChangeOfAnOpenScriptCountsAsUnsaved) {
    const struct {
        std::function<void(WindowHarness&)> act;
        bool changed;
    } cases[] = {
        {[](WindowHarness& h) { QTest::keyRelease(h.translationPane(), Qt::Key_Return); }, false},
        {[](WindowHarness& h) { h.type("x"), h.translationPane()->undo(); }, false},
        {[](WindowHarness& h) { h.type("x"), h.window.saveTranslation(), h.translationPane()->undo(); },
         true},
        {[](WindowHarness& h) { h.type("x"), h.translationPane()->undo(), h.translationPane()->redo(); },
         true},
        {[](WindowHarness& h) { QTest::keyClick(h.translationPane(), Qt::Key_Tab); }, false},
    };
    for (const auto& c : cases) {
        WindowHarness h;
        FixtureProject project;
        project.script("00[4].txt", "Hello");
        project.translation("00[4].txt", "Hola");
        h.openProject(project);
        c.act(h);
        EXPECT_EQ(h.workspace.translationChanged, c.changed);
        EXPECT_FALSE(h.paneText().contains(QLatin1Char('\t')));
    }
}

TEST(Failures, TextTypedWithNoScriptOpenIsNotOfferedForSaving) {
    WindowHarness h;
    FixtureProject project;
    project.script("00[5].txt", "Hello");
    h.type("abc");
    h.openProject(project);
    EXPECT_TRUE(h.desktop.dialogs.messages.empty());
    EXPECT_EQ(h.originalPane()->toPlainText(), QStringLiteral("Hello"));
}

TEST(Failures, AnEmulatorThatIsMissingOrCannotRunIsSaidOnce) {
    FixtureProject project;
    testsupport::writeFileBytes(project.emulatorPath, "not a program");
    const std::pair<std::string, QString> cases[] = {
        {project.root + "/none",
         "No se puede ejecutar el emulador: no existe el archivo " + q(project.root) + "/none"},
        {project.emulatorPath,
         "No se puede ejecutar el emulador: " + q(project.emulatorPath) + " no es un programa ejecutable"},
        {project.root,
         "No se puede ejecutar el emulador: " + q(project.root) + " no es un programa ejecutable"}};
    for (const auto& [path, text] : cases) {
        ProjectSettings settings;
        settings.emulatorPath = path;
        testsupport::ScriptedPlatform desktop;
        runEmulator(nullptr, settings, desktop.dialogs, desktop.launcher);
        EXPECT_EQ(desktop.dialogs.messages, std::vector<RecordedMessage>{info(text)});
        EXPECT_TRUE(desktop.launcher.launches.empty());
    }
}

} // namespace
} // namespace tradumar
