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

// The characters of the name before its first "[", as written (case kept);
// the whole name when there is none.
std::string scriptAddressText(std::string_view fileName);

} // namespace tradumar
