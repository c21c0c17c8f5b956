#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "project/ini_profile.h"

namespace tradumar::testsupport {

inline void writeFileBytes(const std::string& path, std::string_view content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    ASSERT_TRUE(out.good()) << path;
}

inline std::string readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A table of single letters: the ASCII letters, digits, blank and common
// punctuation each map to their own code; "*FE" is the line code and "/FF"
// the end code. Extra lines (Windows-1252 text) follow.
inline std::string letterTable(std::string_view extraLines = {}) {
    std::string table;
    const std::string characters = " !,.?'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static const char* const hex = "0123456789ABCDEF";
    for (const char c : characters) {
        const auto code = static_cast<unsigned char>(c);
        table += hex[code >> 4];
        table += hex[code & 15];
        table += '=';
        table += c;
        table += "\r\n";
    }
    table += "*FE\r\n/FF\r\n";
    table += extraLines;
    return table;
}

// A project on disk in a temporary folder: a scripts folder, both tables, a
// ROM image and the project file, written the way the project dialog writes
// it. Fields are plain members; change them, then writeProjectFile().
class FixtureProject {
public:
    QTemporaryDir dir;
    std::string root;
    std::string name = "Demo";
    std::string projectFile;
    std::string projectFolder;
    std::string scriptsFolder;
    std::string romPath;
    std::string originalTablePath;
    std::string translatedTablePath;
    std::string emulatorPath;
    std::string leftEnclosure = "<";
    std::string rightEnclosure = ">";
    std::string index = "0";

    FixtureProject() {
        root = dir.path().toStdString();
        projectFolder = root;
        projectFile = root + "/Demo.tpr";
        scriptsFolder = root + "/scripts";
        romPath = root + "/game.smc";
        originalTablePath = root + "/original.tbl";
        translatedTablePath = root + "/translated.tbl";
        emulatorPath = root + "/emulator";
        std::filesystem::create_directories(scriptsFolder);
        writeFileBytes(originalTablePath, letterTable());
        writeFileBytes(translatedTablePath, letterTable("E1=\xE1\r\nE9=\xE9\r\nF1=\xF1\r\nBF=\xBF\r\n"));
        writeFileBytes(romPath, std::string(64, '\0'));
    }

    std::string translationFolder() const { return scriptsFolder + "/Traducidos/"; }

    void script(const std::string& fileName, std::string_view text) {
        writeFileBytes(scriptsFolder + "/" + fileName, text);
    }
    void translation(const std::string& fileName, std::string_view text) {
        std::filesystem::create_directories(translationFolder());
        writeFileBytes(translationFolder() + fileName, text);
    }
    std::string translationFile(const std::string& fileName) const {
        return readFileBytes(translationFolder() + fileName);
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
    }

    std::string storedIndex() const { return readIniValue("Index", "Value", projectFile); }
};

} // namespace tradumar::testsupport
