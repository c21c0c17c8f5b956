#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "pointers/pointer_format.h"

namespace tradumar {

// A place in the ROM whose bytes, read in the format, point at the target.
struct PointerCandidate {
    std::int64_t offset = 0;
    std::uint64_t value = 0;
    Bytes before; // up to 8 bytes in front of it
    Bytes after;  // up to 8 bytes behind it
    // The pointer-sized values right before and after it lead into the ROM
    // too, as in a table of pointers; text that happens to match rarely does.
    bool inTable = false;
};

// Every offset (at any alignment) where a value of the format pointing at
// `target` is stored, in ROM order. All the values that reach the target
// are looked for (an SNES offset is reached from several banks).
std::vector<PointerCandidate> findPointerCandidates(std::span<const std::uint8_t> rom,
                                                    const PointerFormat& format, std::int64_t target);

// "0A 1B FF": bytes in hexadecimal, as the candidates' neighbours are shown.
std::string hexBytesText(const Bytes& bytes);

} // namespace tradumar
