#include "project/project_settings.h"

#include <algorithm>
#include <initializer_list>
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
    return std::string(text.substr(0, utf8SequenceLength(static_cast<unsigned char>(text.front()))));
}

} // namespace

void ProjectSettings::setRightEnclosure(std::string_view text) {
    m_rightEnclosure = oneCharacter(text);
}

void ProjectSettings::setLeftEnclosure(std::string_view text) {
    m_leftEnclosure = oneCharacter(text);
}

ProjectSettings::ReadOutcome ProjectSettings::readFrom(const std::string& filePath) {
    DecodedText text;
    if (const std::optional<std::string> bytes = readWholeFile(filePath)) {
        text = decodeIniFile(*bytes);
        if (text.status == TextFileStatus::Undecodable) {
            // The code page the file names, for the message that says it failed.
            legacyCodePage = legacyCodePageNamed(iniValueIn(*bytes, "Encoding", "Legacy"))
                                 .value_or(LegacyCodePage::Windows1252);
            return {ReadOutcome::Status::Undecodable, text.badOffset, text.badByte};
        }
    }
    // A file that cannot be read reads as empty, as a missing key does.
    const auto value = [&](std::string_view section, std::string_view key) {
        return iniValueIn(text.text, section, key);
    };
    projectName = value("Project", "Name");
    projectFolder = value("Project", "Patch");
    romPath = value("ROM", "Patch");
    scriptsFolder = value("Scripts", "Patch");
    originalTablePath = value("Tables", "Original");
    translatedTablePath = value("Tables", "Translated");
    setRightEnclosure(value("Enclosures", "Right"));
    setLeftEnclosure(value("Enclosures", "Left"));
    emulatorPath = value("Emulator", "Patch");
    legacyCodePage = legacyCodePageNamed(value("Encoding", "Legacy")).value_or(LegacyCodePage::Windows1252);
    optimalEncoding = value("Encoding", "Optimal") == "1";
    const auto count = [&](std::string_view key) {
        return std::max<int>(0, parseInt16(value("Limits", key)).value_or(0));
    };
    textBoxLimits.lineLength = count("Line");
    textBoxLimits.boxLines = count("Lines");
    textBoxLimits.boxBreaks = parseBoxBreaks(value("Limits", "Breaks"));
    textBoxLimits.widthTablePath = value("Limits", "Widths");
    fixChecksum = value("Checksum", "Fix") == "1";
    const std::optional<std::int16_t> index = parseInt16(value("Index", "Value"));
    if (!index)
        return {ReadOutcome::Status::BadIndex, 0, 0};
    scriptIndex = *index;
    return {};
}

bool ProjectSettings::writeTo(const std::string& filePath) const {
    // The whole new file is worked out in memory and replaces the old one in
    // one step, so a failure leaves it as it was, never half written.
    std::string content;
    if (std::optional<std::string> existing = readWholeFile(filePath)) {
        DecodedText text = decodeIniFile(*existing);
        if (text.status != TextFileStatus::Read)
            return false; // something we cannot decode; writing over it would lose it
        content = std::move(text.text);
    } else if (pathExists(filePath)) {
        return false; // something we cannot read; writing over it would lose it
    }
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
    // Projects in Windows-1252 keep the layout older programs know; the
    // section is only added when it says something.
    if (legacyCodePage != LegacyCodePage::Windows1252 || !iniValueIn(content, "Encoding", "Legacy").empty())
        content = withIniValue(content, "Encoding", "LEGACY", legacyCodePageName(legacyCodePage));
    const auto holds = [&](std::string_view section, std::initializer_list<std::string_view> names) {
        return std::any_of(names.begin(), names.end(),
                           [&](std::string_view key) { return !iniValueIn(content, section, key).empty(); });
    };
    if (optimalEncoding || holds("Encoding", {"Optimal"}))
        content = withIniValue(content, "Encoding", "OPTIMAL", optimalEncoding ? "1" : "0");
    if (textBoxLimits != TextBoxLimits{} || holds("Limits", {"Line", "Lines", "Breaks", "Widths"})) {
        content = withIniValue(content, "Limits", "LINE", std::to_string(textBoxLimits.lineLength));
        content = withIniValue(content, "Limits", "LINES", std::to_string(textBoxLimits.boxLines));
        content = withIniValue(content, "Limits", "BREAKS", formatBoxBreaks(textBoxLimits.boxBreaks));
        content = withIniValue(content, "Limits", "WIDTHS", textBoxLimits.widthTablePath);
    }
    if (fixChecksum || holds("Checksum", {"Fix"}))
        content = withIniValue(content, "Checksum", "FIX", fixChecksum ? "1" : "0");
    return writeFileAtomically(filePath, textFileBytes(content, legacyCodePage)) == 0;
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
    legacyCodePage = LegacyCodePage::Windows1252;
    optimalEncoding = false;
    textBoxLimits = {};
    fixChecksum = false;
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
