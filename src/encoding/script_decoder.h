#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "encoding/thingy_table.h"

namespace tradumar {

// A decoded script: its text (UTF-8, NFC, lines joined by CR LF), how many
// bytes it took, and whether an end code closed it.
struct DecodedScript {
    std::string text;
    std::size_t size = 0;
    bool ended = false;
};

// Turns ROM bytes back into script text with a table (the original one):
// at each byte the longest code of the table that matches is taken. An end
// code becomes "END" between the enclosures and ends the script, a line
// code becomes a line break, a byte no code starts becomes a raw block of
// its two hexadecimal digits ("<8F>"). The codes are those of the entries
// before the table's end plus its end and line codes; the first entry of a
// code wins.
class ScriptDecoder {
public:
    ScriptDecoder(const ThingyTable& table, char32_t leftEnclosure = U'<', char32_t rightEnclosure = U'>');
    ~ScriptDecoder();
    ScriptDecoder(ScriptDecoder&&) noexcept;

    // Decodes from the first byte until an end code, the end of `bytes`, or
    // `maxSize` bytes (a code is never cut).
    DecodedScript decode(std::span<const std::uint8_t> bytes, std::size_t maxSize) const;

private:
    struct Trie;
    std::unique_ptr<Trie> m_trie;
    std::string m_end;
    std::string m_left, m_right;
};

} // namespace tradumar
