#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "project/ini_profile.h"
#include "support/temp_dir.h"

namespace tradumar::testsupport {

// A table of single characters, each its own code: blank, some punctuation,
// the ASCII letters and digits; "*FE" is the line code and "/FF" the end code.
// Extra lines (Windows-1252 text) follow.
inline std::string letterTable(std::string_view extraLines = {}) {
    std::string table;
    for (const char c :
         std::string_view(" !,.?'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"))
        table += "0123456789ABCDEF"[c >> 4] + std::string(1, "0123456789ABCDEF"[c & 15]) + "=" + c + "\r\n";
    return table + "*FE\r\n/FF\r\n" + std::string(extraLines);
}

// A project on disk in a temporary folder (or in a folder of the given name
// inside it): a scripts folder, both tables, a 64-byte ROM image and the
// project file, written the way the project dialog writes it. Fields are
// plain members; change them, then writeProjectFile().
class FixtureProject {
public:
    TempDir dir;
    std::string root;
    std::string name = "Demo";
    std::string projectFile = root + "/Demo.tpr";
    std::string projectFolder = root;
    std::string scriptsFolder = root + "/scripts";
    std::string romPath = root + "/game.smc";
    std::string originalTablePath = root + "/original.tbl";
    std::string translatedTablePath = root + "/translated.tbl";
    std::string emulatorPath = root + "/emulator";
    std::string leftEnclosure = "<";
    std::string rightEnclosure = ">";
    std::string index = "0";
    std::string legacy; // the [Encoding] value; none when empty

    explicit FixtureProject(std::string_view folder = {})
        : root(folder.empty() ? dir.path().string() : dir.path().string() + "/" + std::string(folder)) {
        std::filesystem::create_directories(scriptsFolder);
        writeBytes(originalTablePath, letterTable());
        writeBytes(translatedTablePath, letterTable("E1=\xE1\r\nE9=\xE9\r\nF1=\xF1\r\nBF=\xBF\r\n"));
        writeBytes(romPath, std::string(64, '\0'));
    }

    std::string translationFolder() const { return scriptsFolder + "/Traducidos/"; }
    void script(const std::string& fileName, std::string_view text) const {
        writeBytes(scriptsFolder + "/" + fileName, text);
    }
    void translation(const std::string& fileName, std::string_view text) const {
        std::filesystem::create_directories(translationFolder());
        writeBytes(translationFolder() + fileName, text);
    }
    std::string translationFile(const std::string& fileName) const {
        return readBytes(translationFolder() + fileName);
    }

    void writeProjectFile() const {
        std::filesystem::remove(projectFile);
        writeIniValue("Project", "NAME", name, projectFile);
        writeIniValue("Project", "PATCH", projectFolder, projectFile);
        writeIniValue("ROM", "PATCH", romPath, projectFile);
        writeIniValue("Scripts", "PATCH", scriptsFolder, projectFile);
        writeIniValue("Tables", "ORIGINAL", originalTablePath, projectFile);
        writeIniValue("Tables", "TRANSLATED", translatedTablePath, projectFile);
        writeIniValue("Enclosures", "RIGHT", rightEnclosure, projectFile);
        writeIniValue("Enclosures", "LEFT", leftEnclosure, projectFile);
        writeIniValue("Index", "VALUE", index, projectFile);
        writeIniValue("Emulator", "PATCH", emulatorPath, projectFile);
        if (!legacy.empty())
            writeIniValue("Encoding", "LEGACY", legacy, projectFile);
    }

    std::string storedIndex() const { return readIniValue("Index", "Value", projectFile); }
};

} // namespace tradumar::testsupport
