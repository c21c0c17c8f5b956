#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "encoding/unicode_text.h"

namespace tradumar {

// Tables, scripts, translations, word lists and project files come from
// Windows and from Linux alike. A file is UTF-8 when it starts with the UTF-8
// byte-order mark (which is dropped) or when the whole file is well-formed
// UTF-8; otherwise it is in the project's legacy code page. Its text is
// normalised to NFC, and lines may end in CR LF, a lone CR or a lone LF.

enum class TextFileStatus {
    Read,
    Unreadable,  // the file could not be read at all
    Undecodable, // neither UTF-8 nor valid in the legacy code page
};

struct DecodedText {
    TextFileStatus status = TextFileStatus::Read;
    std::string text;          // UTF-8 in NFC, when Read
    std::size_t badOffset = 0; // when Undecodable: the offset of the first byte that does not decode
    unsigned char badByte = 0; // and that byte
};

struct DecodedLines {
    TextFileStatus status = TextFileStatus::Read;
    std::vector<std::string> lines; // without their line ends, when Read
    std::size_t badOffset = 0;
    unsigned char badByte = 0;
};

DecodedText decodeTextFile(std::string_view fileBytes, LegacyCodePage legacy);

// Splits text at CR LF, a lone CR or a lone LF; the line ends are dropped and
// the last line needs none (text ending in a line end has no empty line after it).
std::vector<std::string_view> splitTextLines(std::string_view text);

DecodedText readTextFile(const std::string& path, LegacyCodePage legacy);
DecodedLines readTextFileLines(const std::string& path, LegacyCodePage legacy);

// The bytes a text file is written with: the project's legacy code page
// (Windows-1252 unless it says otherwise) when every character fits, so
// Windows users and their tools read it as before; otherwise UTF-8 behind a
// byte-order mark. Either way the file reads back as the same text: nothing
// is ever replaced or lost. The line ends are the caller's (the program
// writes CR LF).
std::string textFileBytes(std::string_view utf8, LegacyCodePage legacy = LegacyCodePage::Windows1252);

} // namespace tradumar
