#pragma once

#include <string>
#include <string_view>

#include "encoding/text_file.h"

namespace tradumar {

// Reads one value of an INI file by the rules of the Windows profile
// functions: section and key names without regard to case, the first
// matching section and key win, the value trimmed, one pair of matching
// quotes removed, at most 749 characters. Missing file, section or key:
// empty text. The section and key asked for are trimmed of blanks and tabs,
// as the names in the file are.
std::string readIniValue(std::string_view section, std::string_view key, const std::string& filePath);

// The same lookup in a file's text already decoded.
std::string iniValueIn(std::string_view content, std::string_view section, std::string_view key);

// An INI file's bytes as text (UTF-8, NFC): UTF-8 with or without a
// byte-order mark, otherwise the legacy code page its [Encoding] Legacy value
// names (Windows-1252 when there is none). The files are written back as
// encoding/text_file.h says: Windows-1252 when every character fits.
DecodedText decodeIniFile(std::string_view fileBytes);

// Sets one value (the key written in upper case) and leaves every other line
// byte for byte as it was. The file is replaced atomically. Returns whether
// the file now holds the value; a caller that stores in passing (the script
// index on leaving) ignores a failure, the project dialog reports it.
// The content of an INI file after setting one value by the rules of
// writeIniValue, worked out in memory; no file is touched.
std::string withIniValue(const std::string& content, std::string_view section, std::string_view key,
                         std::string_view value);

// Names and value are UTF-8; anything else is refused (false), since it
// could not be read back.
bool writeIniValue(std::string_view section, std::string_view key, std::string_view value,
                   const std::string& filePath);

} // namespace tradumar
