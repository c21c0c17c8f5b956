#include <filesystem>
#include <functional>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "support/widgets.h"
#include "support/window_harness.h"

namespace tradumar::testsupport {
namespace {

const auto q = [](const std::string& path) { return pathToQString(path); };

TEST(Failures, AProjectThatFailsToOpenSaysWhyAndLeavesNothingOpen) {
    const struct {
        std::string FixtureProject::*field;
        const char* value; // %1 stands for the project's folder
        const char* why;
        bool correctable = true; // a path: the project dialog is offered (and declined here)
    } cases[] = {
        {&FixtureProject::index, "abc",
         "el índice de script guardado \"abc\" no es un número entre -32768 y 32767", false},
        {&FixtureProject::scriptsFolder, "%1/nowhere", "no existe la carpeta de scripts %1/nowhere"},
        {&FixtureProject::originalTablePath, "%1/no/o.tbl", "no existe la tabla original %1/no/o.tbl"},
        {&FixtureProject::translatedTablePath, "%1/big.tbl",
         "la tabla traducida %1/big.tbl tiene más de 5000 entradas"},
        {&FixtureProject::romPath, "%1/otra.smc", "no existe la ROM %1/otra.smc"},
    };
    for (const auto& c : cases) {
        WindowHarness h;
        FixtureProject project;
        project.script("00[4].txt", "Hola");
        writeBytes(project.root + "/big.tbl", QByteArray("00=a\r").repeated(5001).toStdString());
        writeBytes(project.root + "/notes.tpr", std::string("\0\1\xFF plain", 9));
        h.openProject(project.root + "/notes.tpr");
        project.*c.field = QString::fromUtf8(c.value).replace("%1", q(project.root)).toStdString();
        h.desktop.dialogs.answers = {MessageAnswer::No};
        h.openProject(project);
        QStringList said{"No se pudo abrir el proyecto notes.tpr: el archivo no es un proyecto de Tradumar",
                         "No se pudo abrir el proyecto Demo.tpr: " +
                             QString::fromUtf8(c.why).replace("%1", q(project.root))};
        if (c.correctable)
            said << QStringLiteral("¿Desea corregir el proyecto?");
        EXPECT_EQ(h.desktop.dialogs.texts(), said);
        EXPECT_TRUE(std::filesystem::exists(project.romPath) == (c.field != &FixtureProject::romPath));
        EXPECT_FALSE(std::filesystem::exists(project.root + "/no/o.tbl")); // nothing is created
        EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Tradumar 1.0 Beta"));
        EXPECT_TRUE(h.action("mnuAbrir")->isEnabled() && !h.menu("mnuEdición")->isEnabled() &&
                    !h.scripts()->isVisible() && !h.workspace.openScriptIndex &&
                    h.workspace.openScriptFile.empty() && h.originalPane()->toPlainText().isEmpty() &&
                    h.workspace.translatedTable.at(1).empty());
    }
}

// Saying yes to the correction opens the project dialog on the project; what
// it writes opens at once.
TEST(Failures, AProjectWithAMissingRomIsCorrectedInTheProjectDialog) {
    WindowHarness h;
    FixtureProject project;
    project.script("00[4].txt", "Hola");
    const std::string rom = project.romPath;
    project.romPath = project.root + "/movida.smc";
    h.desktop.dialogs.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(withModal<QDialog>([&] { h.openProject(project); },
                                   [&](QDialog& dialog) {
                                       EXPECT_EQ(child<QLineEdit>(dialog, "txtROM")->text(),
                                                 q(project.romPath));
                                       h.desktop.dialogs.fileAnswers = {q(rom)};
                                       child<QPushButton>(dialog, "cmdROM")->click();
                                       child<QPushButton>(dialog, "cmdAceptar")->click();
                                   }));
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Demo - Tradumar 1.0 Beta"));
    EXPECT_EQ(h.originalPane()->toPlainText(), QStringLiteral("Hola"));
    EXPECT_EQ(readIniValue("ROM", "Patch", project.projectFile), rom);
    EXPECT_FALSE(std::filesystem::exists(project.romPath));
}

TEST(Failures, ANewProjectOpensAsAbrirOpensItAndALineBreakIsRefused) {
    const struct {
        const char* name;
        const char* romSuffix;
        const char* refusal; // empty: accepted
    } cases[] = {
        {"Demo", "\nx",
         "La ruta de la ROM contiene un salto de línea, que el archivo de proyecto no puede guardar."},
        {"Demo", "", ""},
    };
    for (const auto& c : cases) {
        WindowHarness h;
        FixtureProject project;
        project.script("00[4].txt", "Hola");
        auto& d = h.desktop.dialogs;
        d.folderAnswers = {q(project.root), q(project.scriptsFolder)};
        d.fileAnswers = {q(project.romPath + c.romSuffix), q(project.originalTablePath),
                         q(project.translatedTablePath), q(project.emulatorPath)};
        withModal([&] { h.action("mnuNuevo")->trigger(); },
                  [&](QDialog& dialog) {
                      child<QLineEdit>(dialog, "txtNombre")->setText(QString::fromUtf8(c.name));
                      for (const char* b : {"cmdPatchPrj", "cmdDirScripts", "cmdROM", "cmdOTBL", "cmdTTBL",
                                            "cmdEmu", "cmdAceptar"})
                          child<QPushButton>(dialog, b)->click();
                  });
        const bool accepted = *c.refusal == '\0';
        EXPECT_EQ(d.texts(), accepted ? QStringList() : QStringList{QString::fromUtf8(c.refusal)});
        EXPECT_EQ(std::filesystem::exists(project.projectFile), accepted);
        EXPECT_EQ(h.window.windowTitle(), accepted ? "Demo - Tradumar 1.0 Beta" : "Tradumar 1.0 Beta");
        EXPECT_EQ(h.originalPane()->toPlainText(), accepted ? "Hola" : "");
    }
}

TEST(Failures, CancellingConfigurePutsTheScriptsFolderBack) {
    WindowHarness h;
    FixtureProject project, other;
    project.script("00[4].txt", "Hola");
    other.script("11[2].txt", "Si");
    h.openProject(project);
    h.desktop.dialogs.folderAnswers = {q(other.scriptsFolder)};
    withModal([&] { h.action("mnuConfig")->trigger(); },
              [](QDialog& d) {
                  EXPECT_EQ(child<QLineEdit>(d, "txtNombre")->text(), "Demo");
                  child<QPushButton>(d, "cmdDirScripts")->click();
              });
    EXPECT_EQ(h.scripts()->fileNames(), QStringList{"00[4].txt"});
    h.type("Hi");
    h.window.saveTranslation();
    EXPECT_EQ(project.translationFile("00[4].txt"), "Hi\r\n");
}

TEST(Failures, WithoutAnOpenScriptNothingIsSavedInsertedMovedOrOfferedForSaving) {
    const QString none =
        QStringLiteral("No hay ningún script abierto: abra un proyecto y elija un script de la lista.");
    const struct {
        std::function<void(WindowHarness&, const FixtureProject&)> command;
        QStringList said;
        const char* pane;
    } cases[] = {{[](auto& h, auto&) { h.window.saveTranslation(); }, {none}, "abc"},
                 {[](auto& h, auto&) { h.window.insertScript(); }, {none}, "abc"},
                 {[](auto& h, auto&) { h.window.nextScript(); }, {}, "abc"},
                 {[](auto& h, auto&) { h.window.previousScript(); }, {}, "abc"},
                 {[](auto& h, auto&) { EXPECT_TRUE(h.window.close()); }, {}, "abc"},
                 {[](auto& h, auto& p) { h.openProject(p); }, {}, ""}}; // no question
    for (const auto& c : cases) {
        WindowHarness h;
        FixtureProject project;
        project.script("00[4].txt", "Hola");
        project.script("01[4].txt", "Chau");
        h.openProject(project);
        h.action("mnuCerrar")->trigger(); // the list keeps a stale selection
        h.type("abc");
        c.command(h, project);
        EXPECT_EQ(h.desktop.dialogs.texts(), c.said);
        EXPECT_EQ(h.paneText(), QString::fromUtf8(c.pane));
        EXPECT_FALSE(std::filesystem::exists("/Traducidos"));
    }
}

TEST(Failures, OnlyARealChangeOfTheTranslationCountsAsUnsaved) {
    const struct {
        std::function<void(WindowHarness&)> act;
        bool changed;
    } cases[] = {
        {[](auto& h) { QTest::keyRelease(h.translationPane(), Qt::Key_Return); }, false},
        {[](auto& h) { h.type("x"), h.translationPane()->undo(); }, false},
        {[](auto& h) { h.type("x"), h.window.saveTranslation(), h.translationPane()->undo(); }, true},
        {[](auto& h) { h.type("x"), h.translationPane()->undo(), h.translationPane()->redo(); }, true},
        {[](auto& h) { QTest::keyClick(h.translationPane(), Qt::Key_Tab); }, false}, // no tab typed
    };
    for (const auto& c : cases) {
        WindowHarness h;
        FixtureProject project;
        project.script("00[4].txt", "Hello");
        project.translation("00[4].txt", "Hola");
        h.openProject(project);
        c.act(h);
        EXPECT_EQ(h.workspace.translationChanged, c.changed);
    }
}

} // namespace
} // namespace tradumar::testsupport
