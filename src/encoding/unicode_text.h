#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tradumar {

// The program's text is Unicode held as UTF-8, normalised to NFC; a character
// is one code point and every position or length the translator sees counts
// characters. These helpers walk UTF-8 and convert at the places that meet
// other encodings (legacy files, a dictionary's own encoding), through ICU.

// The code page a project's files are in when they are not UTF-8.
enum class LegacyCodePage { Windows1252, ShiftJis };

// The name stored in the project file ("Windows-1252", "Shift-JIS") and back;
// the reading ignores letter case and takes nothing else.
std::string_view legacyCodePageName(LegacyCodePage page);
std::optional<LegacyCodePage> legacyCodePageNamed(std::string_view name);

// One UTF-8 sequence at `at`: its character and length, or nothing when the
// bytes there are not well-formed UTF-8 (overlong forms and surrogates included).
std::optional<std::pair<char32_t, std::size_t>> decodeUtf8At(std::string_view bytes, std::size_t at);

void appendUtf8(std::string& out, char32_t c);
std::string utf8Of(char32_t c);

// The offset of the first byte that is not part of well-formed UTF-8, or
// nothing when the whole text is.
std::optional<std::size_t> firstInvalidUtf8(std::string_view bytes);

// How many characters well-formed UTF-8 holds (continuation bytes are not counted).
std::size_t characterCount(std::string_view utf8);

// The length in bytes of the character whose lead byte is `lead`; 1 for a
// byte that leads nothing, so a walk always moves on.
inline std::size_t utf8SequenceLength(unsigned char lead) {
    if (lead < 0xC0)
        return 1;
    if (lead < 0xE0)
        return 2;
    if (lead < 0xF0)
        return 3;
    return 4;
}

// The character at `at` of well-formed UTF-8 (U+FFFD where it is not).
char32_t characterAt(std::string_view utf8, std::size_t at);

// The character at byte `i` and its length in bytes, ASCII without
// decoding; a byte that starts no well-formed sequence is U+FFFD, one byte
// long, so a walk always moves on.
struct Utf8Character {
    char32_t value;
    std::size_t length;
};
inline Utf8Character characterAtByte(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80)
        return {lead, 1};
    if (const auto decoded = decodeUtf8At(text, i))
        return {decoded->first, decoded->second};
    return {0xFFFD, 1};
}

// The text without the spaces, tabs and carriage returns at either end.
std::string_view trimmedBlanks(std::string_view text);

// Well-formed UTF-8 in Unicode normalisation form C, so that a decomposed
// "é" becomes the one character the translator sees.
std::string toNfc(std::string_view utf8);

// The Windows-1252 byte of a character, or nothing when the code page lacks
// it. The five bytes the code page leaves undefined (81, 8D, 8F, 90, 9D) stand
// for the control of the same value, both ways.
std::optional<unsigned char> windows1252ByteOf(char32_t c);

// UTF-8 as Windows-1252 bytes, or nothing when a character does not fit.
std::optional<std::string> toWindows1252(std::string_view utf8);

struct LegacyDecoding {
    std::optional<std::string> text; // UTF-8, when every byte decodes
    std::size_t badOffset = 0;       // otherwise the offset of the first byte that does not
};

// Bytes in a legacy code page as UTF-8 (not yet normalised).
LegacyDecoding decodeLegacy(std::string_view bytes, LegacyCodePage page);

// Conversions to and from an encoding ICU knows by name (a dictionary's
// "ISO8859-1", "UTF-8", "KOI8-R"...). Nothing when the name is unknown, a
// byte does not decode or a character has no byte.
std::optional<std::string> utf8FromEncoding(std::string_view bytes, const std::string& encoding);
std::optional<std::string> utf8ToEncoding(std::string_view utf8, const std::string& encoding);

} // namespace tradumar
