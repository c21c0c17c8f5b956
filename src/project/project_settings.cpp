#include "project/project_settings.h"

#include <optional>

#include "encoding/conversions.h"
#include "project/ini_profile.h"

namespace tradumar {
namespace {

std::string oneCharacter(std::string_view text) {
    if (text.empty())
        return " ";
    return std::string(1, text.front());
}

} // namespace

void ProjectSettings::setRightEnclosure(std::string_view text) {
    m_rightEnclosure = oneCharacter(text);
}

void ProjectSettings::setLeftEnclosure(std::string_view text) {
    m_leftEnclosure = oneCharacter(text);
}

bool ProjectSettings::readFrom(const std::string& filePath) {
    projectName = readIniValue("Project", "Name", filePath);
    projectFolder = readIniValue("Project", "Patch", filePath);
    romPath = readIniValue("ROM", "Patch", filePath);
    scriptsFolder = readIniValue("Scripts", "Patch", filePath);
    originalTablePath = readIniValue("Tables", "Original", filePath);
    translatedTablePath = readIniValue("Tables", "Translated", filePath);
    setRightEnclosure(readIniValue("Enclosures", "Right", filePath));
    setLeftEnclosure(readIniValue("Enclosures", "Left", filePath));
    emulatorPath = readIniValue("Emulator", "Patch", filePath);
    const std::optional<std::int16_t> index = parseInt16(readIniValue("Index", "Value", filePath));
    if (!index)
        return false;
    scriptIndex = *index;
    return true;
}

void ProjectSettings::writeTo(const std::string& filePath) const {
    // The order matters: in a new file it becomes the order of the sections.
    writeIniValue("Project", "NAME", projectName, filePath);
    writeIniValue("Project", "PATCH", projectFolder, filePath);
    writeIniValue("ROM", "PATCH", romPath, filePath);
    writeIniValue("Scripts", "PATCH", scriptsFolder, filePath);
    writeIniValue("Tables", "ORIGINAL", originalTablePath, filePath);
    writeIniValue("Tables", "TRANSLATED", translatedTablePath, filePath);
    writeIniValue("Enclosures", "RIGHT", m_rightEnclosure, filePath);
    writeIniValue("Enclosures", "LEFT", m_leftEnclosure, filePath);
    writeIniValue("Index", "VALUE", "0", filePath);
    writeIniValue("Emulator", "PATCH", emulatorPath, filePath);
}

void ProjectSettings::close() {
    projectName.clear();
    projectFolder.clear();
    romPath.clear();
    scriptsFolder.clear();
    originalTablePath.clear();
    translatedTablePath.clear();
    projectFilePath.clear();
    m_rightEnclosure = ">";
    m_leftEnclosure = "<";
}

std::string composeProjectFilePath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || (path.back() != '/' && path.back() != '\\'))
        path += '/';
    path += name;
    path += ".tpr";
    return path;
}

} // namespace tradumar
