#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "boxes/text_boxes.h"
#include "encoding/unicode_text.h"

namespace tradumar {

// The settings of the open project. Text and paths are UTF-8 (paths are the
// file system's own names). The two enclosures always hold exactly one
// character: a longer text keeps its first, an empty one becomes a blank.
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
    // The code page of the project's files that are not UTF-8; stored under
    // [Encoding], a section older project files lack (Windows-1252 then).
    LegacyCodePage legacyCodePage = LegacyCodePage::Windows1252;
    // "Codificación óptima": the encoder takes the shortest encoding instead
    // of the longest match first. Stored as OPTIMAL (1 or 0) under
    // [Encoding]; absent means off, so older files read as before.
    bool optimalEncoding = false;
    // The game's text boxes, under [Limits] (LINE, LINES, BREAKS, WIDTHS), and
    // whether insertions set the ROM's internal checksum, under [Checksum]
    // (FIX, 1 or 0). Older files lack both sections: no limits, no fixing.
    TextBoxLimits textBoxLimits;
    bool fixChecksum = false;

    const std::string& rightEnclosure() const { return m_rightEnclosure; }
    const std::string& leftEnclosure() const { return m_leftEnclosure; }
    void setRightEnclosure(std::string_view text);
    void setLeftEnclosure(std::string_view text);
    char32_t rightCharacter() const { return characterAt(m_rightEnclosure, 0); }
    char32_t leftCharacter() const { return characterAt(m_leftEnclosure, 0); }

    struct ReadOutcome {
        enum class Status { Read, BadIndex, Undecodable };
        Status status = Status::Read;
        std::size_t badOffset = 0; // for Undecodable: the first byte that does not decode
        unsigned char badByte = 0;
        explicit operator bool() const { return status == Status::Read; }
    };

    // Reads every field from the project file in the stored order, the script
    // index last. BadIndex when the index text does not convert (the fields
    // read before it keep their new values); Undecodable when the file is
    // neither UTF-8 nor in its legacy code page (nothing is read).
    ReadOutcome readFrom(const std::string& filePath);

    // Writes the ten entries in their fixed order (index "0"), then the legacy
    // code page, the text-box limits and the checksum option, each only when it
    // differs from the default or the file already holds it, replacing the
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
