#pragma once

#include <string>
#include <string_view>

namespace tradumar {

// A line (UTF-8) without its raw blocks, as "Largo de línea:" counts it: each block
// from a left enclosure to the next right enclosure (both included) is left
// out; a left enclosure that no right one follows is left out alone. When
// both enclosures are the same character each one closes itself, so only
// that character disappears.
std::string stripRawBlocks(std::string_view line, char32_t leftEnclosure, char32_t rightEnclosure);

} // namespace tradumar
