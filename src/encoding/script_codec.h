#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "encoding/conversions.h"
#include "encoding/thingy_table.h"

namespace tradumar {

// What the counter and the encoder read besides the text (UTF-8): the
// translated table, the longest length in characters to try at each position,
// the two enclosure characters of raw blocks. With fewestBytes (the project's
// "Codificación óptima") the counter and the encoder take the shortest
// encoding of encoding/optimal_codec.h instead of longest-match-first.
struct CodecContext {
    const ThingyTable& table;
    int longest;
    char32_t leftEnclosure = U'<';
    char32_t rightEnclosure = U'>';
    bool fewestBytes = false;
};

// The real bytes a translated text takes in the ROM, as the status shows them
// while the translator types (longest = the translated table's longest text,
// codes left out). Never fails; counts in 64 bits.
std::int64_t countTranslatedBytes(std::string_view text, const CodecContext& context);

enum class MissingAnswer { GoOn, Stop };

// Asked for each character that matches nothing: the character, its 1-based
// position in the text (in characters) and its code: the Windows-1252 byte
// when the code page has the character, otherwise its code point.
using MissingHandler = std::function<MissingAnswer(char32_t character, int position, int code)>;

// The number the missing-character question gives for a character.
int missingCharacterCode(char32_t character);

// Asked for each raw block that cannot write bytes: one that holds anything
// but hexadecimal digit pairs (blanks allowed), or an end code the table
// lacks. The block as written, enclosures included, and its 1-based position
// in characters. Going on leaves the block out.
using InvalidBlockHandler = std::function<MissingAnswer(std::string_view block, int position)>;

struct EncodeResult {
    Bytes bytes;
    int error = FailureCode::None; // InvalidCall or Overflow
    int stoppedAt = 0;             // 1-based position (in characters) of what the user stopped at
    int stoppedLength = 0;         // and its length in characters
    int errorAt = 0;               // for an error: 1-based position of the block that caused it

    bool ok() const { return error == FailureCode::None && stoppedAt == 0; }
    bool stopped() const { return stoppedAt != 0; }
};

// The bytes of a translated text for insertion (longest = the original
// table's longest text, codes counted). Without a handler for invalid raw
// blocks, the first one stops the encoding.
EncodeResult encodeScript(std::string_view text, const CodecContext& context, const MissingHandler& onMissing,
                          const InvalidBlockHandler& onInvalidBlock = {});

// What in one line of translation the encoder cannot write: the characters
// the table lacks and the raw blocks that write no bytes, each as a byte
// offset and length in the line (for marking them while the translator types).
struct Unencodable {
    std::size_t start = 0;
    std::size_t length = 0;
    bool operator==(const Unencodable&) const = default;
};
std::vector<Unencodable> unencodableSpans(std::string_view line, const CodecContext& context);

} // namespace tradumar
