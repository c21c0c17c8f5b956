#include <filesystem>

#include "support/window_harness.h"

namespace tradumar {
namespace {

using testsupport::FixtureProject;
using testsupport::WindowHarness;

bool projectMenusEnabledIn(const WindowHarness& h) {
    return h.action("mnuCerrar")->isEnabled() && h.action("mnuConfig")->isEnabled() &&
           h.action("mnuGuardar")->isEnabled() && h.menu("mnuEdición")->isEnabled() &&
           h.menu("mnuHerramientas")->isEnabled();
}

bool projectMenusDisabledIn(const WindowHarness& h) {
    return !h.action("mnuCerrar")->isEnabled() && !h.action("mnuConfig")->isEnabled() &&
           !h.action("mnuGuardar")->isEnabled() && !h.menu("mnuEdición")->isEnabled() &&
           !h.menu("mnuHerramientas")->isEnabled();
}

class OpenProjectTest : public ::testing::Test {
protected:
    FixtureProject project;
    WindowHarness h{QStringLiteral("/where/it/started")};

    void SetUp() override {
        // Written out of order and in mixed case: the list sorts by name
        // without regard to case.
        project.script("b0[3].txt", "Bye");
        project.script("A0[2].txt", "Hi");
        project.script("1A2B3C[120].txt", "Hello there\r\nfriend");
        project.script("c0[4].TXT", "Ciao");
        project.script("notes.doc", "not a script");
    }
};

TEST_F(OpenProjectTest, AsksForAProjectFileInTheStartFolder) {
    h.desktop.dialogs.fileAnswers.push_back(QString());
    h.window.openProject();
    ASSERT_EQ(h.desktop.dialogs.fileRequests.size(), 1u);
    const FileRequest& request = h.desktop.dialogs.fileRequests.front();
    EXPECT_EQ(request.title, QStringLiteral("Abrir Proyecto Tradumar"));
    EXPECT_EQ(request.filter, QStringLiteral("Tradumar Archivo de Proyecto (*.tpr)|*.tpr"));
    EXPECT_EQ(request.initialFolder, QStringLiteral("/where/it/started"));
    EXPECT_TRUE(request.mustExist);
}

TEST_F(OpenProjectTest, CancellingTheDialogChangesNothing) {
    h.desktop.dialogs.fileAnswers.push_back(QString());
    h.action("mnuAbrir")->trigger();
    EXPECT_TRUE(h.desktop.dialogs.messages.empty());
    EXPECT_TRUE(projectMenusDisabledIn(h));
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Tradumar 1.0 Beta"));
    EXPECT_TRUE(h.workspace.settings.projectFilePath.empty());
}

TEST_F(OpenProjectTest, OpensTheProjectAndTheStoredScript) {
    project.index = "1";
    project.translation("1A2B3C[120].txt", "Hola\r\namigo\r\n");
    project.script("0[1].txt", "X"); // sorts first
    h.openProject(project);

    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Demo - Tradumar 1.0 Beta"));
    EXPECT_TRUE(h.scripts()->isVisible());
    EXPECT_EQ(h.scripts()->fileNames(),
              (QStringList{"0[1].txt", "1A2B3C[120].txt", "A0[2].txt", "b0[3].txt", "c0[4].TXT"}));
    EXPECT_EQ(h.find<FileList>("Ori")->fileNames(), h.scripts()->fileNames());
    EXPECT_EQ(h.find<FileList>("Trans")->fileNames(), QStringList{"1A2B3C[120].txt"});

    // The stored index 1 selects and opens the second script.
    EXPECT_EQ(h.scripts()->selectedIndex(), 1);
    EXPECT_EQ(h.originalPane()->toPlainText(), QStringLiteral("Hello there\nfriend"));
    EXPECT_EQ(h.paneText(), QStringLiteral("Hola\namigo"));
    EXPECT_EQ(h.label("lblRealesO"), QStringLiteral("120"));
    EXPECT_EQ(h.workspace.openScriptIndex, 1);
    EXPECT_EQ(h.workspace.openScriptFile, "1A2B3C[120].txt");
    EXPECT_FALSE(h.workspace.translationChanged);
    EXPECT_EQ(h.desktop.clipboard.last(), QStringLiteral("1A2B3C[120]"));

    EXPECT_TRUE(projectMenusEnabledIn(h));
    EXPECT_FALSE(h.action("mnuNuevo")->isEnabled());
    EXPECT_FALSE(h.action("mnuAbrir")->isEnabled());
    EXPECT_TRUE(h.desktop.dialogs.messages.empty());

    // Every field of the project file, and both tables with their lengths.
    const ProjectSettings& s = h.workspace.settings;
    EXPECT_EQ(s.projectFilePath, project.projectFile);
    EXPECT_EQ(s.projectName, "Demo");
    EXPECT_EQ(s.projectFolder, project.projectFolder);
    EXPECT_EQ(s.romPath, project.romPath);
    EXPECT_EQ(s.scriptsFolder, project.scriptsFolder);
    EXPECT_EQ(s.originalTablePath, project.originalTablePath);
    EXPECT_EQ(s.translatedTablePath, project.translatedTablePath);
    EXPECT_EQ(s.emulatorPath, project.emulatorPath);
    EXPECT_EQ(s.scriptIndex, 1);
    EXPECT_EQ(h.workspace.originalTable.at(1).text, " ");
    EXPECT_EQ(h.workspace.originalLongest, 4); // the line code "LINE" counts there
    EXPECT_EQ(h.workspace.translatedLongest, 1);
    EXPECT_NE(h.workspace.translatedTable.find("\xE9"), 0);

    // With the tables loaded, the next tick counts the translation.
    h.tick();
    EXPECT_EQ(h.label("lblRealesT"), QStringLiteral("10")); // 9 letters and a line break
    EXPECT_EQ(h.label("lblRealesD"), QStringLiteral("110"));
}

TEST_F(OpenProjectTest, AStoredIndexOfMinusOneSelectsNothing) {
    project.index = "-1";
    h.openProject(project);
    EXPECT_EQ(h.scripts()->selectedIndex(), -1);
    EXPECT_FALSE(h.workspace.openScriptIndex.has_value());
    EXPECT_TRUE(h.originalPane()->toPlainText().isEmpty());
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Demo - Tradumar 1.0 Beta"));
    EXPECT_FALSE(h.action("mnuAbrir")->isEnabled());
    EXPECT_TRUE(h.desktop.clipboard.texts.isEmpty());
}

TEST_F(OpenProjectTest, AMissingProjectFileStopsTheSameWay) {
    h.openProject(project.root + "/missing.tpr");
    EXPECT_TRUE(projectMenusDisabledIn(h));
    EXPECT_TRUE(h.workspace.settings.projectName.empty());
    EXPECT_TRUE(h.action("mnuAbrir")->isEnabled());
}

TEST_F(OpenProjectTest, MissingTableFilesAreCreatedEmpty) {
    project.originalTablePath = project.root + "/new-original.tbl";
    project.translatedTablePath = project.root + "/new-translated.tbl";
    h.openProject(project);
    EXPECT_TRUE(std::filesystem::exists(project.originalTablePath));
    EXPECT_EQ(std::filesystem::file_size(project.translatedTablePath), 0u);
    EXPECT_TRUE(h.workspace.originalTable.at(1).empty());
    EXPECT_TRUE(h.workspace.translatedTable.at(1).empty());
    EXPECT_EQ(h.workspace.originalLongest, 1);
    EXPECT_FALSE(h.action("mnuAbrir")->isEnabled());
}

TEST_F(OpenProjectTest, AnOriginalTableOfMoreThan5000EntriesStillOpens) {
    std::string big;
    for (int i = 0; i < 5001; ++i)
        big += "00=o" + std::to_string(i) + "\r\n";
    testsupport::writeFileBytes(project.originalTablePath, big);
    h.openProject(project);
    EXPECT_EQ(h.workspace.originalTable.at(5000).text, "o4999");
    EXPECT_FALSE(h.action("mnuAbrir")->isEnabled());
}

TEST_F(OpenProjectTest, WithoutATraducidosFolderTheTransListStaysAsItWas) {
    h.openProject(project);
    EXPECT_TRUE(h.find<FileList>("Trans")->folder().isEmpty());
    EXPECT_EQ(h.find<FileList>("Trans")->count(), 0);
    EXPECT_FALSE(h.action("mnuAbrir")->isEnabled()); // the opening went on
}

TEST_F(OpenProjectTest, EnclosuresComeFromTheProjectFile) {
    project.leftEnclosure = "[";
    project.rightEnclosure = "]";
    h.openProject(project);
    EXPECT_EQ(h.workspace.settings.leftEnclosure(), "[");
    EXPECT_EQ(h.workspace.settings.rightEnclosure(), "]");
}

} // namespace
} // namespace tradumar
