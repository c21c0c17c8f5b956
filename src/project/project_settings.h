#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tradumar {

// The settings of the open project. The two enclosures always hold exactly
// one character: a longer text keeps its first, an empty one becomes a blank.
class ProjectSettings {
public:
    std::string projectName;
    std::string projectFolder;
    std::string romPath;
    std::string scriptsFolder;
    std::string originalTablePath;
    std::string translatedTablePath;
    std::string emulatorPath;
    std::int16_t scriptIndex = 0;
    std::string projectFilePath; // not stored in the project file

    const std::string& rightEnclosure() const { return m_rightEnclosure; }
    const std::string& leftEnclosure() const { return m_leftEnclosure; }
    void setRightEnclosure(std::string_view text);
    void setLeftEnclosure(std::string_view text);

    // Reads every field from the project file in the stored order, the script
    // index last. Returns false when the index text does not convert; the
    // fields read before it keep their new values.
    bool readFrom(const std::string& filePath);

    // Writes the ten entries in their fixed order (index "0"), replacing the
    // file once. False when it could not be written.
    bool writeTo(const std::string& filePath) const;

    // Empties the project's fields and resets the enclosures to "<" and ">";
    // the emulator path and the script index are kept.
    void close();

private:
    std::string m_rightEnclosure = ">";
    std::string m_leftEnclosure = "<";
};

// folder, a separator unless the folder already ends with "/" or "\", name, ".tpr".
std::string composeProjectFilePath(std::string_view folder, std::string_view name);

} // namespace tradumar
