#include "project/project_settings.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

#include <string>
#include <tuple>
#include <vector>

namespace tradumar::testsupport {
namespace {

ProjectSettings sample() {
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
    s.projectFilePath = "/home/ana/proyectos/x.tpr";
    return s;
}

// Every field, for comparing settings as a whole.
std::string fields(const ProjectSettings& s) {
    return s.projectName + "|" + s.projectFolder + "|" + s.romPath + "|" + s.scriptsFolder + "|" +
           s.originalTablePath + "|" + s.translatedTablePath + "|" + s.leftEnclosure() + s.rightEnclosure() +
           "|" + s.emulatorPath + "|" + std::to_string(s.scriptIndex) + "|" + s.projectFilePath;
}

TEST(ProjectSettings, ReadsHandEditedFilesAndFailsOnABadIndexAfterTheOtherFields) {
    const std::string hand = "[emulator]\npatch = /opt/emu\n[Enclosures]\nLeft=<<\nRight=\n"
                             "[Project]\nName=\"  Con blancos  \"\n[INDEX]\n";
    // Read into settings that held sample(): the index is kept when it is not a 16-bit number.
    const std::tuple<std::string, bool, std::string> cases[] = {
        {"Value= -12 \n", true, "-12"}, {"Value=32768\n", false, "17"}, {"", false, "17"}};
    TempDir temp;
    for (const auto& [index, ok, kept] : cases) {
        writeBytes(temp.file("p.tpr"), hand + index);
        ProjectSettings s = sample();
        EXPECT_EQ(s.readFrom(temp.file("p.tpr")), ok) << index;
        EXPECT_EQ(fields(s), "  Con blancos  ||||||< |/opt/emu|" + kept + "|/home/ana/proyectos/x.tpr")
            << index;
    }
    ProjectSettings missing = sample();
    EXPECT_FALSE(missing.readFrom(temp.file("absent.tpr")));
    EXPECT_EQ(fields(missing), "||||||  ||17|/home/ana/proyectos/x.tpr");
}

TEST(ProjectSettings, EnclosuresHoldOneCharacterAndCloseKeepsEmulatorAndIndex) {
    ProjectSettings s = sample();
    for (const auto& [given, kept] : {std::pair{"<<", "<"}, {"", " "}, {"\xAB\xBB", "\xAB"}}) {
        s.setRightEnclosure(given);
        s.setLeftEnclosure(given);
        EXPECT_EQ(s.leftEnclosure() + s.rightEnclosure(), std::string(kept) + kept) << given;
    }
    s.close();
    EXPECT_EQ(fields(s), "||||||<>|/usr/bin/snes9x|17|");
}

// The dialog's tests cover a folder with and without a final slash.
TEST(ProjectSettings, ComposeProjectFilePathTakesABackslashAsASeparator) {
    EXPECT_EQ(composeProjectFilePath("C:\\Proyectos\\", "Juego"), "C:\\Proyectos\\Juego.tpr");
}

} // namespace
} // namespace tradumar::testsupport
