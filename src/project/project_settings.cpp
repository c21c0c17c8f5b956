#include "project/project_settings.h"

#include <iterator>
#include <optional>
#include <utility>

#include "common/file_io.h"

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
    // The whole new file is worked out in memory and replaces the old one in
    // one step, so a failure leaves it as it was, never half written.
    std::string content;
    if (std::optional<std::string> existing = readWholeFile(filePath))
        content = std::move(*existing);
    else if (pathExists(filePath))
        return false; // something we cannot read; writing over it would lose it
    // The order matters: in a new file it becomes the order of the sections.
    const std::pair<const char*, const char*> keys[] = {
        {"Project", "NAME"},    {"Project", "PATCH"},     {"ROM", "PATCH"},        {"Scripts", "PATCH"},
        {"Tables", "ORIGINAL"}, {"Tables", "TRANSLATED"}, {"Enclosures", "RIGHT"}, {"Enclosures", "LEFT"},
        {"Index", "VALUE"},     {"Emulator", "PATCH"}};
    const std::string* values[] = {
        &projectName,         &projectFolder,    &romPath,         &scriptsFolder, &originalTablePath,
        &translatedTablePath, &m_rightEnclosure, &m_leftEnclosure, nullptr,        &emulatorPath};
    for (std::size_t i = 0; i < std::size(keys); ++i)
        content = withIniValue(content, keys[i].first, keys[i].second, values[i] ? *values[i] : "0");
    return writeFileAtomically(filePath, content) == 0;
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
