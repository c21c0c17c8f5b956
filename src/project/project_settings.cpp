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

bool ProjectSettings::writeTo(const std::string& filePath) const {
    // The order matters: in a new file it becomes the order of the sections.
    bool written = writeIniValue("Project", "NAME", projectName, filePath);
    written &= writeIniValue("Project", "PATCH", projectFolder, filePath);
    written &= writeIniValue("ROM", "PATCH", romPath, filePath);
    written &= writeIniValue("Scripts", "PATCH", scriptsFolder, filePath);
    written &= writeIniValue("Tables", "ORIGINAL", originalTablePath, filePath);
    written &= writeIniValue("Tables", "TRANSLATED", translatedTablePath, filePath);
    written &= writeIniValue("Enclosures", "RIGHT", m_rightEnclosure, filePath);
    written &= writeIniValue("Enclosures", "LEFT", m_leftEnclosure, filePath);
    written &= writeIniValue("Index", "VALUE", "0", filePath);
    written &= writeIniValue("Emulator", "PATCH", emulatorPath, filePath);
    return written;
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
