#include "project/project_settings.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using tradumar::composeProjectFilePath;
using tradumar::ProjectSettings;

namespace {

class ProjectSettingsTest : public ::testing::Test {
protected:
    void put(const std::string& content) const { tradumar::testing::writeBytes(m_path, content); }
    std::string get() const { return tradumar::testing::readBytes(m_path); }

    static ProjectSettings sample() {
        ProjectSettings s;
        s.projectName = "Traducci\xF3n del juego";
        s.projectFolder = "/home/ana/proyectos";
        s.romPath = "/home/ana/roms/Juego (E) [!].smc";
        s.scriptsFolder = "/home/ana/scripts;v2";
        s.originalTablePath = "/home/ana/tablas/orig=1.tbl";
        s.translatedTablePath = "/home/ana/tablas/\xE1\xE9\xED.tbl";
        s.setRightEnclosure("}");
        s.setLeftEnclosure("{");
        s.emulatorPath = "/usr/bin/snes9x";
        s.scriptIndex = 17;
        return s;
    }

    tradumar::testing::TempDir m_temp;
    const fs::path& m_dir = m_temp.path();
    std::string m_path = m_temp.file("Mi juego.tpr");
};

TEST_F(ProjectSettingsTest, WritesTheTenEntriesInTheirOrder) {
    EXPECT_TRUE(sample().writeTo(m_path));
    EXPECT_EQ(
        get(),
        "[Project]\r\nNAME=Traducci\xF3n del juego\r\nPATCH=/home/ana/proyectos\r\n"
        "[ROM]\r\nPATCH=/home/ana/roms/Juego (E) [!].smc\r\n"
        "[Scripts]\r\nPATCH=/home/ana/scripts;v2\r\n"
        "[Tables]\r\nORIGINAL=/home/ana/tablas/orig=1.tbl\r\nTRANSLATED=/home/ana/tablas/\xE1\xE9\xED.tbl\r\n"
        "[Enclosures]\r\nRIGHT=}\r\nLEFT={\r\n"
        "[Index]\r\nVALUE=0\r\n"
        "[Emulator]\r\nPATCH=/usr/bin/snes9x\r\n");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_dir))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"Mi juego.tpr"});
}

TEST_F(ProjectSettingsTest, WrittenFileReadsBackEveryField) {
    const ProjectSettings written = sample();
    written.writeTo(m_path);

    ProjectSettings read;
    read.scriptIndex = 5;
    ASSERT_TRUE(read.readFrom(m_path));
    EXPECT_EQ(read.projectName, written.projectName);
    EXPECT_EQ(read.projectFolder, written.projectFolder);
    EXPECT_EQ(read.romPath, written.romPath);
    EXPECT_EQ(read.scriptsFolder, written.scriptsFolder);
    EXPECT_EQ(read.originalTablePath, written.originalTablePath);
    EXPECT_EQ(read.translatedTablePath, written.translatedTablePath);
    EXPECT_EQ(read.rightEnclosure(), "}");
    EXPECT_EQ(read.leftEnclosure(), "{");
    EXPECT_EQ(read.emulatorPath, written.emulatorPath);
    EXPECT_EQ(read.scriptIndex, 0);      // the file always stores index 0
    EXPECT_EQ(read.projectFilePath, ""); // the caller sets it
}

TEST_F(ProjectSettingsTest, RewritingAnExistingFileKeepsItsLayout) {
    put("[project]\r\nname=Viejo\r\n\r\n[Index]\r\nvalue=42\r\n");
    ProjectSettings s = sample();
    s.writeTo(m_path);
    EXPECT_EQ(
        get(),
        "[project]\r\nname=Traducci\xF3n del juego\r\nPATCH=/home/ana/proyectos\r\n\r\n"
        "[Index]\r\nvalue=0\r\n"
        "[ROM]\r\nPATCH=/home/ana/roms/Juego (E) [!].smc\r\n"
        "[Scripts]\r\nPATCH=/home/ana/scripts;v2\r\n"
        "[Tables]\r\nORIGINAL=/home/ana/tablas/orig=1.tbl\r\nTRANSLATED=/home/ana/tablas/\xE1\xE9\xED.tbl\r\n"
        "[Enclosures]\r\nRIGHT=}\r\nLEFT={\r\n"
        "[Emulator]\r\nPATCH=/usr/bin/snes9x\r\n");
}

TEST_F(ProjectSettingsTest, ReadsAHandEditedFile) {
    put("[emulator]\npatch = /opt/emu\n[INDEX]\nValue= 12 \n[Enclosures]\nLeft=<<\nRight=\n"
        "[Project]\nName=\"  Con blancos  \"\n");
    ProjectSettings s;
    ASSERT_TRUE(s.readFrom(m_path));
    EXPECT_EQ(s.projectName, "  Con blancos  ");
    EXPECT_EQ(s.emulatorPath, "/opt/emu");
    EXPECT_EQ(s.scriptIndex, 12);
    EXPECT_EQ(s.leftEnclosure(), "<");
    EXPECT_EQ(s.rightEnclosure(), " ");
    EXPECT_EQ(s.romPath, "");
}

TEST_F(ProjectSettingsTest, NegativeIndexIsKept) {
    put("[Index]\r\nVALUE=-1\r\n");
    ProjectSettings s;
    s.scriptIndex = 3;
    ASSERT_TRUE(s.readFrom(m_path));
    EXPECT_EQ(s.scriptIndex, -1);
}

TEST_F(ProjectSettingsTest, UnconvertibleIndexFailsAfterTheOtherFields) {
    const std::vector<std::string> badIndexes = {"VALUE=abc\r\n", "VALUE=\r\n", "VALUE=40000\r\n", ""};
    for (const std::string& index : badIndexes) {
        put("[Project]\r\nNAME=Nuevo\r\n[Emulator]\r\nPATCH=/bin/emu\r\n[Index]\r\n" + index);
        ProjectSettings s;
        s.romPath = "/old.smc";
        s.scriptIndex = 9;
        EXPECT_FALSE(s.readFrom(m_path)) << index;
        EXPECT_EQ(s.projectName, "Nuevo") << index;
        EXPECT_EQ(s.emulatorPath, "/bin/emu") << index;
        EXPECT_EQ(s.romPath, "") << index;
        EXPECT_EQ(s.scriptIndex, 9) << index;
    }
}

TEST_F(ProjectSettingsTest, MissingFileEmptiesTheFieldsAndFails) {
    ProjectSettings s = sample();
    EXPECT_FALSE(s.readFrom((m_dir / "absent.tpr").string()));
    EXPECT_EQ(s.projectName, "");
    EXPECT_EQ(s.projectFolder, "");
    EXPECT_EQ(s.emulatorPath, "");
    EXPECT_EQ(s.rightEnclosure(), " ");
    EXPECT_EQ(s.leftEnclosure(), " ");
    EXPECT_EQ(s.scriptIndex, 17);
}

TEST(ProjectSettingsEnclosures, AlwaysHoldOneCharacter) {
    ProjectSettings s;
    EXPECT_EQ(s.rightEnclosure(), ">");
    EXPECT_EQ(s.leftEnclosure(), "<");
    struct Case {
        std::string given;
        std::string kept;
    };
    const std::vector<Case> cases = {{"]", "]"}, {"<<", "<"}, {"abc", "a"},
                                     {"", " "},  {" ", " "},  {"\xAB\xBB", "\xAB"}};
    for (const Case& c : cases) {
        s.setRightEnclosure(c.given);
        s.setLeftEnclosure(c.given);
        EXPECT_EQ(s.rightEnclosure(), c.kept) << c.given;
        EXPECT_EQ(s.leftEnclosure(), c.kept) << c.given;
    }
}

TEST_F(ProjectSettingsTest, BlankEnclosureSurvivesTheFile) {
    ProjectSettings s = sample();
    s.setRightEnclosure(" ");
    s.setLeftEnclosure("\"");
    s.writeTo(m_path);
    ProjectSettings read;
    ASSERT_TRUE(read.readFrom(m_path));
    EXPECT_EQ(read.rightEnclosure(), " ");
    EXPECT_EQ(read.leftEnclosure(), "\"");
}

TEST(ProjectSettingsClose, EmptiesTheProjectButKeepsEmulatorAndIndex) {
    ProjectSettings s;
    s.projectName = "n";
    s.projectFolder = "f";
    s.romPath = "r";
    s.scriptsFolder = "s";
    s.originalTablePath = "o";
    s.translatedTablePath = "t";
    s.projectFilePath = "f/n.tpr";
    s.emulatorPath = "/bin/emu";
    s.scriptIndex = 4;
    s.setRightEnclosure("}");
    s.setLeftEnclosure("{");
    s.close();
    EXPECT_EQ(s.projectName, "");
    EXPECT_EQ(s.projectFolder, "");
    EXPECT_EQ(s.romPath, "");
    EXPECT_EQ(s.scriptsFolder, "");
    EXPECT_EQ(s.originalTablePath, "");
    EXPECT_EQ(s.translatedTablePath, "");
    EXPECT_EQ(s.projectFilePath, "");
    EXPECT_EQ(s.rightEnclosure(), ">");
    EXPECT_EQ(s.leftEnclosure(), "<");
    EXPECT_EQ(s.emulatorPath, "/bin/emu");
    EXPECT_EQ(s.scriptIndex, 4);
}

TEST(ComposeProjectFilePath, AddsASeparatorOnlyWhenMissing) {
    EXPECT_EQ(composeProjectFilePath("/home/ana", "Juego"), "/home/ana/Juego.tpr");
    EXPECT_EQ(composeProjectFilePath("/home/ana/", "Juego"), "/home/ana/Juego.tpr");
    EXPECT_EQ(composeProjectFilePath("C:\\Proyectos\\", "Juego"), "C:\\Proyectos\\Juego.tpr");
    EXPECT_EQ(composeProjectFilePath("/", "a b"), "/a b.tpr");
    EXPECT_EQ(composeProjectFilePath("/home/ana", ""), "/home/ana/.tpr");
}

TEST_F(ProjectSettingsTest, ReportsAProjectFileThatCannotBeWritten) {
    const std::string path = m_temp.file("absent/p.tpr");
    EXPECT_FALSE(sample().writeTo(path));
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
