#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tradumar {

// The program's text is Windows-1252, one byte a character; these convert
// single characters between it and Unicode, and walk UTF-8, for the places
// that meet other encodings (UTF-8 files, a dictionary's own encoding).

// The character a Windows-1252 byte stands for. The five bytes the code page
// leaves undefined (81, 8D, 8F, 90, 9D) stand for the control of the same value.
char32_t unicodeOfWindows1252(unsigned char byte);

// The Windows-1252 byte of a character, or nothing when the code page lacks it.
std::optional<char> windows1252ByteOf(char32_t c);

// One UTF-8 sequence at `at`: its character and length, or nothing when the
// bytes there are not well-formed UTF-8 (overlong forms and surrogates included).
std::optional<std::pair<char32_t, std::size_t>> decodeUtf8At(std::string_view bytes, std::size_t at);

void appendUtf8(std::string& out, char32_t c);

} // namespace tradumar
