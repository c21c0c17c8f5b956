#include "project/project_settings.h"

#include <gtest/gtest.h>

#include "project/workspace.h"
#include "support/temp_dir.h"

#include <string>
#include <tuple>
#include <vector>

namespace tradumar::testsupport {
namespace {

ProjectSettings sample() {
    ProjectSettings s;
    s.projectName = "Traducción del juego";
    s.projectFolder = "/home/ana/proyectos";
    s.romPath = "/home/ana/roms/Juego (E) [!].smc";
    s.scriptsFolder = "/home/ana/scripts;v2";
    s.originalTablePath = "/home/ana/tablas/orig=1.tbl";
    s.translatedTablePath = "/home/ana/tablas/áéí.tbl";
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
        EXPECT_EQ(static_cast<bool>(s.readFrom(temp.file("p.tpr"))), ok) << index;
        EXPECT_EQ(fields(s), "  Con blancos  ||||||< |/opt/emu|" + kept + "|/home/ana/proyectos/x.tpr")
            << index;
    }
    ProjectSettings missing = sample();
    EXPECT_FALSE(missing.readFrom(temp.file("absent.tpr")));
    EXPECT_EQ(fields(missing), "||||||  ||17|/home/ana/proyectos/x.tpr");
}

TEST(ProjectSettings, EnclosuresHoldOneCharacterAndCloseKeepsEmulatorAndIndex) {
    ProjectSettings s = sample();
    for (const auto& [given, kept] : {std::pair{"<<", "<"}, {"", " "}, {"«»", "«"}, {"【】", "【"}}) {
        s.setRightEnclosure(given);
        s.setLeftEnclosure(given);
        EXPECT_EQ(s.leftEnclosure() + s.rightEnclosure(), std::string(kept) + kept) << given;
    }
    s.close();
    EXPECT_EQ(fields(s), "||||||<>|/usr/bin/snes9x|17|");
}

// A project made on Windows is Windows-1252 and stays so; one whose names the
// code page lacks is written as UTF-8; the legacy code page is kept under a
// section of its own that only appears when it is not Windows-1252.
TEST(ProjectSettings, FilesKeepTheirEncodingAndTheLegacyCodePage) {
    TempDir temp;
    const std::string path = temp.file("p.tpr");
    writeBytes(path, "[Project]\r\nNAME=Traducci\xF3n\r\n[Index]\r\nVALUE=0\r\n");
    ProjectSettings windows;
    ASSERT_TRUE(windows.readFrom(path));
    EXPECT_EQ(windows.projectName, "Traducción");
    EXPECT_EQ(windows.legacyCodePage, LegacyCodePage::Windows1252);
    ASSERT_TRUE(windows.writeTo(path));
    EXPECT_NE(readBytes(path).find("NAME=Traducci\xF3n\r\n"), std::string::npos);
    EXPECT_EQ(readBytes(path).find("[Encoding]"), std::string::npos);

    ProjectSettings japanese = sample();
    japanese.scriptsFolder = "/home/ana/日本語/scripts";
    japanese.legacyCodePage = LegacyCodePage::ShiftJis;
    ASSERT_TRUE(japanese.writeTo(path));
    EXPECT_TRUE(readBytes(path).starts_with("\xEF\xBB\xBF[Project]\r\nNAME=Traducción del juego\r\n"));
    EXPECT_NE(readBytes(path).find("[Encoding]\r\nLEGACY=Shift-JIS\r\n"), std::string::npos);
    ProjectSettings back;
    ASSERT_TRUE(back.readFrom(path));
    back.projectFilePath = japanese.projectFilePath;
    back.scriptIndex = japanese.scriptIndex;
    EXPECT_EQ(fields(back), fields(japanese));
    EXPECT_EQ(back.legacyCodePage, LegacyCodePage::ShiftJis);

    // A file that decodes in neither says where.
    writeBytes(path, "[Encoding]\nLegacy=shift-jis\n[Project]\nName=\x82\n");
    const ProjectSettings::ReadOutcome broken = back.readFrom(path);
    EXPECT_EQ(broken.status, ProjectSettings::ReadOutcome::Status::Undecodable);
    EXPECT_EQ(std::pair(broken.badOffset, broken.badByte), std::pair(std::size_t{43}, std::uint8_t{0x82}));
}

// "Codificación óptima" is written only once asked for, read back, and
// turned off stays written as 0; with it on, the status count and the
// encoder both take the shortest encoding.
TEST(ProjectSettings, TheOptimalEncodingOptionRoundTripsAndDrivesCounterAndEncoder) {
    TempDir temp;
    const std::string path = temp.file("p.tpr");
    ProjectSettings settings = sample();
    ASSERT_TRUE(settings.writeTo(path));
    EXPECT_EQ(readBytes(path).find("OPTIMAL"), std::string::npos);
    for (const bool on : {true, false}) {
        settings.optimalEncoding = on;
        ASSERT_TRUE(settings.writeTo(path));
        EXPECT_NE(readBytes(path).find(on ? "[Encoding]\r\nOPTIMAL=1\r\n" : "OPTIMAL=0"), std::string::npos);
        ProjectSettings back;
        ASSERT_TRUE(back.readFrom(path));
        EXPECT_EQ(back.optimalEncoding, on);
    }

    // "ñandú" longest first: "ña" "n" "d" "ú" (4 bytes); shortest: "ñ" "and" "ú" (3).
    Workspace w;
    ASSERT_EQ(parseThingyTable("F1=ñ\nA0=ña\n61=a\n6E=n\n64=d\nB0=and\nFA=ú\n", w.translatedTable,
                               TableOverflow::Fail),
              LoadStatus::Loaded);
    w.translatedLongest = w.originalLongest = w.translatedTable.longestTextLength(true);
    const auto goOn = [](auto&&...) { return MissingAnswer::GoOn; };
    for (const auto& [on, bytes] : {std::pair{false, 4}, std::pair{true, 3}}) {
        w.settings.optimalEncoding = on;
        EXPECT_EQ(countTranslatedBytes("ñandú", w.counterContext()), bytes);
        EXPECT_EQ(encodeScript("ñandú", w.encoderContext(), goOn, goOn).bytes.size(), std::size_t(bytes));
    }
}

// The dialog's tests cover a folder with and without a final slash.
TEST(ProjectSettings, ComposeProjectFilePathTakesABackslashAsASeparator) {
    EXPECT_EQ(composeProjectFilePath("C:\\Proyectos\\", "Juego"), "C:\\Proyectos\\Juego.tpr");
}

} // namespace
} // namespace tradumar::testsupport
