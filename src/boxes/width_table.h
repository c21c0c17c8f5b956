#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "encoding/text_file.h"

namespace tradumar {

// The width in pixels of each character of a game's font, so that the line
// limit of a text box can be counted in pixels. The file is ours, one entry a
// line (UTF-8 or the project's legacy code page, read with the shared reader):
//
//   carácter=ancho    one character and its width, e.g. "a=6", " =4", "==5"
//   <02>=48           a raw block as written in the script (e.g. a name the
//                     game prints there); other raw blocks are 0 wide
//   =8                nothing before the sign: the width of every character
//                     the table does not list
//   # text            a comment (a line that starts with "#" and is not "#=N")
//
// The width is the decimal number after the last "=" (0 to 9999, blanks
// after it allowed). Blank lines are skipped; the first entry of a key wins.
// Without a "=N" line, a character the table lacks is as wide as the widest
// one it lists, so a line that may not fit is never passed as fitting.
class WidthTable {
public:
    // The width of one character, or of a raw block (written with its enclosures).
    int widthOf(char32_t c) const;
    int widthOfBlock(std::string_view block) const;

    // Sets an entry unless the key already has one; an empty key sets the
    // width of unlisted characters. A key of one character is a character,
    // a longer one a raw block.
    void add(std::string_view key, int width);

    bool empty() const { return m_characters.empty() && m_blocks.empty() && !m_default; }
    std::size_t size() const { return m_characters.size() + m_blocks.size(); }

private:
    // Characters below U+0800 (Latin, Greek, Cyrillic...) are looked up in an
    // array, -1 where unlisted; the check walks every character at each key press.
    static constexpr char32_t kDirect = 0x800;
    std::vector<int> m_direct = std::vector<int>(kDirect, -1);
    std::unordered_map<char32_t, int> m_characters;
    std::unordered_map<std::string, int> m_blocks;
    std::optional<int> m_default;
    int m_widest = 0;
};

constexpr int kMaxCharacterWidth = 9999;

struct WidthTableRead {
    TextFileStatus status = TextFileStatus::Read;
    WidthTable table;
    std::vector<int> badLines; // 1-based numbers of lines that are none of the above
};

// The table in a file's text (UTF-8, NFC, as the shared reader gives it).
WidthTableRead parseWidthTable(std::string_view text);

// Reads a width table file; Unreadable or Undecodable give an empty table.
WidthTableRead readWidthTable(const std::string& path, LegacyCodePage legacy);

} // namespace tradumar
