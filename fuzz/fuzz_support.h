#pragma once

// What the fuzz targets share: stopping on a broken invariant, and reading
// arbitrary bytes as the program's text.

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "encoding/text_file.h"
#include "encoding/unicode_text.h"

namespace tradumar::fuzz {

// Stops the run naming the invariant; libFuzzer keeps the input that broke it.
inline void require(bool condition, const char* area, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "%s invariant broken: %s\n", area, what);
        std::abort();
    }
}

// The program's text is UTF-8: input that is not becomes Windows-1252 text.
inline std::string asText(std::string_view bytes) {
    if (!firstInvalidUtf8(bytes))
        return std::string(bytes);
    return *decodeLegacy(bytes, LegacyCodePage::Windows1252).text;
}

// The input as a text file of a project reads, its first byte choosing the
// legacy code page (odd: Shift-JIS); nothing when it does not decode.
inline std::optional<std::string> asTextFile(std::string_view input) {
    const LegacyCodePage legacy =
        !input.empty() && (input[0] & 1) ? LegacyCodePage::ShiftJis : LegacyCodePage::Windows1252;
    DecodedText decoded = decodeTextFile(input, legacy);
    if (decoded.status != TextFileStatus::Read)
        return std::nullopt;
    return std::move(decoded.text);
}

} // namespace tradumar::fuzz
