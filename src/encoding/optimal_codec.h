#pragma once

#include <cstdint>
#include <string_view>

#include "encoding/script_codec.h"

namespace tradumar {

// The shortest encoding ("Codificación óptima"). At every character the
// longest-first encoder (encodeScript) has these choices: any entry of two or
// more characters that matches there, or its single step (a line break, a
// raw block, the one-character entry, or a missing character). This encoder
// takes, over the whole text, the sequence of choices with the fewest
// characters left out (missing characters, invalid raw blocks), then the
// fewest bytes; among those it prefers at each step the choice the
// longest-first encoder makes (longer entries first, the single step last).
// So it never writes more bytes than encodeScript, and writes the same bytes
// whenever longest-first is already shortest. Handlers, stops and errors
// behave as in encodeScript, for the characters and blocks of the chosen path.
EncodeResult encodeOptimal(std::string_view text, const CodecContext& context,
                           const MissingHandler& onMissing, const InvalidBlockHandler& onInvalidBlock = {});

// The bytes encodeOptimal writes for the text when every missing character
// and invalid block is passed over; up to the failing block when a raw block
// fails. Never fails.
std::int64_t countOptimalBytes(std::string_view text, const CodecContext& context);

} // namespace tradumar
