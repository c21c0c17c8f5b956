#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tradumar {

// Tables, scripts and translations come from Windows and from Linux alike.
// Everything the program works with is Windows-1252, one byte a character, so
// a file in UTF-8 is converted on reading, and lines may end in CR LF, a lone
// CR or a lone LF. Files are still written as Windows-1252 with CR LF.

enum class TextFileStatus {
    Read,
    Unreadable,     // the file could not be read at all
    NotWindows1252, // UTF-8 holding a character Windows-1252 has no byte for
};

struct Windows1252Text {
    TextFileStatus status = TextFileStatus::Read;
    std::string text;       // the content as Windows-1252 bytes, when Read
    char32_t character = 0; // when NotWindows1252: the first character that does not fit
                            // (U+FFFD for a broken sequence after a byte-order mark)
};

struct Windows1252Lines {
    TextFileStatus status = TextFileStatus::Read;
    std::vector<std::string> lines; // without their line ends, when Read
    char32_t character = 0;         // as in Windows1252Text
};

// A file's bytes as Windows-1252 text. The bytes are UTF-8 when they start
// with the UTF-8 byte-order mark (which is dropped), or when they are valid
// UTF-8 holding at least one multi-byte sequence; anything else already is
// Windows-1252 and is kept as it is.
Windows1252Text toWindows1252(std::string_view fileBytes);

// Splits text at CR LF, a lone CR or a lone LF; the line ends are dropped and
// the last line needs none (text ending in a line end has no empty line after it).
std::vector<std::string_view> splitTextLines(std::string_view text);

// Reads a text file into Windows-1252 text / lines, by the two rules above.
Windows1252Text readWindows1252Text(const std::string& path);
Windows1252Lines readWindows1252Lines(const std::string& path);

} // namespace tradumar
