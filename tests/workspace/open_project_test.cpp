#include <filesystem>
#include <functional>

#include "support/window_harness.h"

namespace tradumar::testsupport {
namespace {

const QString kAll = QStringLiteral("Cerrar Config Guardar Edición Herramientas");

std::string bigTable(const char* prefix) {
    std::string big;
    for (int i = 0; i < 5001; ++i)
        big += "00=" + std::string(prefix) + std::to_string(i) + "\r\n";
    return big;
}

class OpenProjectTest : public ::testing::Test {
protected:
    FixtureProject project;
    WindowHarness h{QStringLiteral("/where/it/started")};

    void SetUp() override {
        // Out of order and in mixed case: the list sorts by name without regard to case.
        project.script("b0[3].txt", "Bye");
        project.script("A0[2].txt", "Hi");
        project.script("1A2B3C[120].txt", "Hello there\r\nfriend");
        project.script("c0[4].TXT", "Ciao");
        project.script("notes.doc", "not a script");
    }
};

TEST_F(OpenProjectTest, OpensTheProjectTheTablesAndTheStoredScript) {
    h.desktop.dialogs.fileAnswers = {QString()}; // cancelled: nothing changes
    h.action("mnuAbrir")->trigger();
    ASSERT_EQ(h.desktop.dialogs.fileRequests.size(), 1u);
    const FileRequest& request = h.desktop.dialogs.fileRequests.front();
    EXPECT_EQ(request.title, QStringLiteral("Abrir Proyecto Tradumar"));
    EXPECT_EQ(request.filter, QStringLiteral("Tradumar Archivo de Proyecto (*.tpr)|*.tpr"));
    EXPECT_EQ(request.initialFolder, QStringLiteral("/where/it/started"));
    EXPECT_TRUE(request.mustExist);
    EXPECT_EQ(h.enabledCommands(), QStringLiteral("Nuevo Abrir"));

    project.leftEnclosure = "[";
    project.translation("1A2B3C[120].txt", "Hola\r\namigo\r\n");
    h.openProject(project);
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Demo - Tradumar 1.0 Beta"));
    EXPECT_EQ(h.enabledCommands(), kAll);
    EXPECT_EQ(h.scripts()->fileNames(),
              (QStringList{"1A2B3C[120].txt", "A0[2].txt", "b0[3].txt", "c0[4].TXT"}));
    EXPECT_EQ(h.find<FileList>("Ori")->fileNames(), h.scripts()->fileNames());
    EXPECT_EQ(h.find<FileList>("Trans")->fileNames(), QStringList{"1A2B3C[120].txt"});
    EXPECT_EQ(h.scripts()->selectedIndex(), 0);
    EXPECT_EQ(h.originalText(), QStringLiteral("Hello there\nfriend"));
    EXPECT_EQ(h.paneText(), QStringLiteral("Hola\namigo"));
    EXPECT_EQ(h.desktop.clipboard.texts.last(), QStringLiteral("1A2B3C[120]"));
    EXPECT_TRUE(h.desktop.dialogs.messages.empty());

    const ProjectSettings& s = h.workspace.settings;
    EXPECT_EQ((std::vector{s.projectFilePath, s.projectName, s.projectFolder, s.romPath, s.scriptsFolder,
                           s.originalTablePath, s.translatedTablePath, s.emulatorPath, s.leftEnclosure(),
                           s.rightEnclosure()}),
              (std::vector{project.projectFile, project.name, project.projectFolder, project.romPath,
                           project.scriptsFolder, project.originalTablePath, project.translatedTablePath,
                           project.emulatorPath, std::string("["), std::string(">")}));
    EXPECT_EQ(h.workspace.originalLongest, 4); // "LINE" counts there
    EXPECT_EQ(h.workspace.translatedLongest, 1);
    EXPECT_NE(h.workspace.translatedTable.find("é"), 0);
    h.tick(); // with the tables loaded: 9 letters and a line break
    EXPECT_EQ(h.label("lblRealesT") + " " + h.label("lblRealesD"), QStringLiteral("10 110"));
}

// A stored index past the list or -1 selects nothing, and an original
// table of more than 5000 entries still opens; a missing file stops the
// opening with a message (the failure tests hold the other failures).
TEST_F(OpenProjectTest, TheStoredIndexSelectsAScriptOrNothing) {
    const std::tuple<const char*, std::function<void(FixtureProject&)>, int> cases[] = {
        {"index -1", [](FixtureProject& p) { p.index = "-1"; }, -1},
        {"index of the last script", [](FixtureProject& p) { p.index = "3"; }, 3},
        {"index past the list", [](FixtureProject& p) { p.index = "4"; }, -1},
        {"more than 5000 original entries",
         [](FixtureProject& p) { writeBytes(p.originalTablePath, bigTable("o")); }, 0},
    };
    for (const auto& [what, change, selected] : cases) {
        SCOPED_TRACE(what);
        FixtureProject p;
        for (const char* name : {"00[4].txt", "01[4].txt", "02[4].txt", "03[4].txt"})
            p.script(name, "Otro");
        change(p);
        WindowHarness w;
        w.openProject(p);
        EXPECT_TRUE(w.desktop.dialogs.messages.empty());
        EXPECT_EQ(w.scripts()->selectedIndex(), selected);
        EXPECT_EQ(w.workspace.openScriptIndex.value_or(-1), selected);
        EXPECT_EQ(w.originalText(), selected >= 0 ? "Otro" : "");
    }
    h.openProject(project.root + "/none.tpr");
    EXPECT_EQ(h.desktop.dialogs.texts(),
              QStringList{"No se pudo abrir el proyecto none.tpr: no se puede leer "
                          "el archivo (2: No existe el archivo o la carpeta)"});
    EXPECT_EQ(h.enabledCommands(), QStringLiteral("Nuevo Abrir"));
}

TEST_F(OpenProjectTest, MissingTablesAreCreatedEmpty) {
    FixtureProject other;
    other.script("00[4].txt", "Otro");
    other.originalTablePath = other.root + "/new-original.tbl";
    other.translatedTablePath = other.root + "/new-translated.tbl";
    h.openProject(project);
    h.action("mnuCerrar")->trigger();
    h.openProject(other);
    EXPECT_EQ(std::filesystem::file_size(other.originalTablePath), 0u);
    EXPECT_EQ(std::filesystem::file_size(other.translatedTablePath), 0u);
    EXPECT_EQ(h.workspace.translatedTable.find("é"), 0); // the old project's entries are gone
    EXPECT_EQ(h.workspace.originalLongest, 1);
    EXPECT_TRUE(h.find<FileList>("Trans")->folder().isEmpty()); // no Traducidos folder: left as it was
}

} // namespace
} // namespace tradumar::testsupport
