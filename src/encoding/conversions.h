#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace tradumar {

using Bytes = std::vector<std::uint8_t>;

// Hexadecimal digits to a number. Every character keeps its place: a
// non-digit adds nothing but still shifts the digits before it ("1 A" is 266).
// A value above 2147483647 fails with FailureCode::Overflow.
Result<std::int32_t> hexToLong(std::string_view text);

// Hexadecimal digit pairs to bytes, blanks removed first. An odd number of
// digits gives no bytes at all.
Bytes hexToBytes(std::string_view text);

// Hexadecimal digit pairs, blanks between them allowed, as bytes; nothing
// when anything else stands there, the digits are odd in number or none.
// This is what a raw block and a table code must be to write bytes.
std::optional<Bytes> strictHexBytes(std::string_view text);

// The program's 16-bit number reading (stored script index, sizes in script
// file names): blanks around, a sign, decimal digits with an optional fraction
// rounded half to even, or "&H" and hexadecimal digits. Nothing for empty,
// non-numeric or out-of-range text.
std::optional<std::int16_t> parseInt16(std::string_view text);

// Script file names look like 1A2B3C[120].txt: ROM offset in hex, "[",
// original size in decimal, "]", ".txt".
//
// The offset before the first "["; InvalidCall without "[", Overflow past
// 2147483647.
Result<std::int32_t> scriptAddress(std::string_view fileName);

// The size between the first "[" and the last five characters ("].txt").
std::optional<std::int16_t> originalByteCount(std::string_view fileName);

// Where a script lives and the bytes its original takes, from a name of the
// form HEX[DECIMAL].txt: hexadecimal offset (at most eight digits), "[",
// decimal size (1 to 32767), "]", ".txt" in any case. Nothing for any other
// name: such a script has no budget and cannot be inserted.
struct ScriptPlace {
    std::int64_t offset = 0;
    std::int32_t size = 0;
    bool operator==(const ScriptPlace&) const = default;
};
std::optional<ScriptPlace> scriptPlace(std::string_view fileName);

// The characters of the name before its first "[", as written (case kept);
// the whole name when there is none.
std::string scriptAddressText(std::string_view fileName);

} // namespace tradumar
