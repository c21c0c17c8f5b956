#include "encoding/script_codec.h"

#include <optional>

#include "encoding/optimal_codec.h"

namespace tradumar {

namespace {

// The longest text the encoder takes, in characters.
constexpr std::size_t kMaxTextLength = 32767;
// How far (in characters) the counter looks for the closing enclosure of a raw block.
constexpr std::size_t kRawBlockSearch = 101;

bool isCodeText(std::string_view s) {
    return s == "END" || s == "LINE";
}

// What the table holds at byte `i`: the longest text of two or more
// characters (tried first, from the longest length down), and the entry for
// the single character (tried only after the line break and raw block tests).
struct Matches {
    int length = 0;         // bytes; 0 when no text of two or more characters matches
    int characters = 0;     // its length in characters
    int position = 0;       // its table position
    int singleLength = 0;   // the single character's length in bytes
    int singlePosition = 0; // the single character's table position, 0 if none
};

Matches matchesAt(std::string_view text, std::size_t i, int maxLength, const ThingyTable& table,
                  bool skipCodeTexts) {
    Matches m;
    table.forEachPrefixMatch(text.substr(i), maxLength, [&](int n, int bytes, int position) {
        if (n == 1) {
            m.singleLength = bytes;
            m.singlePosition = position;
            return;
        }
        if (skipCodeTexts && isCodeText(text.substr(i, static_cast<std::size_t>(bytes))))
            return;
        m.length = bytes;
        m.characters = n;
        m.position = position;
    });
    return m;
}

// count + half of an odd or even digit count, halves to the even number.
std::int64_t addHalf(std::int64_t count, std::size_t digits) {
    const auto half = static_cast<std::int64_t>(digits / 2);
    if (digits % 2 == 0)
        return count + half;
    const std::int64_t low = count + half;
    return low % 2 == 0 ? low : low + 1;
}

void append(Bytes& out, std::span<const std::uint8_t> bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// A line break is CR and the character after it (LF in the text a pane gives).
std::size_t afterLineBreak(std::string_view text, std::size_t i) {
    return i + 1 < text.size() ? i + 1 + characterAtByte(text, i + 1).length : i + 2;
}

} // namespace

int missingCharacterCode(char32_t character) {
    if (const std::optional<unsigned char> byte = windows1252ByteOf(character))
        return *byte;
    return static_cast<int>(character);
}

std::int64_t countTranslatedBytes(std::string_view text, const CodecContext& context) {
    if (context.fewestBytes)
        return countOptimalBytes(text, context);
    const ThingyTable& table = context.table;
    std::int64_t count = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const Utf8Character c = characterAtByte(text, i);
        if (context.longest < 1) {
            i += c.length;
            continue;
        }
        const Matches m = matchesAt(text, i, context.longest, table, false);
        if (m.length > 0) {
            count = addHalf(count, table.at(m.position).hexCode.size());
            i += static_cast<std::size_t>(m.length);
            continue;
        }
        if (c.value == U'\r') {
            count += 1;
            i = afterLineBreak(text, i);
        } else if (c.value == context.leftEnclosure) {
            count += 1;
            // The block ends after its right enclosure when one comes within
            // the search window; otherwise the count goes on past the window.
            std::size_t p = i + c.length;
            std::size_t next = 0;
            std::size_t looked = 0;
            for (; looked < kRawBlockSearch && p < text.size(); ++looked) {
                const Utf8Character d = characterAtByte(text, p);
                p += d.length;
                if (d.value == context.rightEnclosure) {
                    next = p;
                    break;
                }
            }
            i = next == 0 ? p : next;
        } else if (m.singlePosition > 0) {
            count = addHalf(count, table.at(m.singlePosition).hexCode.size());
            i += static_cast<std::size_t>(m.singleLength);
        } else {
            i += c.length;
        }
    }
    return count;
}

namespace {

// Reads the raw block whose left enclosure is at byte `i`, one character at a
// time. The closing test looks at the character read in the step before, so
// the buffer always ends with the right enclosure when the block closes and
// that last character is left out; "END" is recognised before the closing.
// Returns the byte after the block and its bytes (nothing when they are not
// hexadecimal digit pairs or the table has no end code), or sets `error`.
struct RawBlock {
    std::size_t next = 0;
    std::optional<Bytes> bytes;
};

RawBlock readRawBlock(std::string_view text, std::size_t i, const CodecContext& context, int& error) {
    std::string buffer;
    std::size_t lastLength = 0; // bytes of the buffer's last character
    std::size_t current = i;
    const auto withoutLast = [&] { return std::string_view(buffer).substr(0, buffer.size() - lastLength); };
    for (;;) {
        Utf8Character here{0, 1};
        if (current < text.size()) {
            here = characterAtByte(text, current);
            if (here.value == context.rightEnclosure) {
                if (buffer.empty()) {
                    error = FailureCode::InvalidCall;
                    return {current, std::nullopt};
                }
                return {current + here.length, strictHexBytes(withoutLast())};
            }
        }
        current += here.length;
        const bool pastEnd = current >= text.size();
        if (!pastEnd) {
            const Utf8Character next = characterAtByte(text, current);
            buffer.append(text.substr(current, next.length));
            lastLength = next.length;
        }
        if (buffer.empty()) {
            error = FailureCode::InvalidCall;
            return {current, std::nullopt};
        }
        if (withoutLast() == "END") {
            const std::span<const std::uint8_t> end = context.table.bytesAt(context.table.endCodePosition());
            return {current + lastLength,
                    end.empty() ? std::nullopt : std::optional<Bytes>(Bytes(end.begin(), end.end()))};
        }
        // Past the end nothing changes any more: the block never closes and its
        // position would run past the 16-bit limit.
        if (pastEnd) {
            error = FailureCode::Overflow;
            return {current, std::nullopt};
        }
    }
}

} // namespace

EncodeResult encodeScript(std::string_view text, const CodecContext& context, const MissingHandler& onMissing,
                          const InvalidBlockHandler& onInvalidBlock) {
    if (context.fewestBytes)
        return encodeOptimal(text, context, onMissing, onInvalidBlock);
    EncodeResult result;
    if (characterCount(text) > kMaxTextLength) {
        result.error = FailureCode::Overflow;
        return result;
    }
    const ThingyTable& table = context.table;
    std::size_t i = 0;
    int position = 0; // characters before byte i
    while (i < text.size()) {
        const Utf8Character c = characterAtByte(text, i);
        if (context.longest < 1) {
            i += c.length;
            ++position;
            continue;
        }
        const Matches m = matchesAt(text, i, context.longest, table, true);
        if (m.length > 0) {
            append(result.bytes, table.bytesAt(m.position));
            i += static_cast<std::size_t>(m.length);
            position += m.characters;
            continue;
        }
        if (c.value == U'\r') {
            append(result.bytes, table.bytesAt(table.lineCodePosition()));
            i = afterLineBreak(text, i);
            position += 2;
        } else if (c.value == context.leftEnclosure) {
            const RawBlock block = readRawBlock(text, i, context, result.error);
            if (result.error != FailureCode::None) {
                result.bytes.clear();
                result.errorAt = position + 1;
                return result;
            }
            const std::string_view written = text.substr(i, block.next - i);
            const int length = static_cast<int>(characterCount(written));
            if (block.bytes) {
                append(result.bytes, *block.bytes);
            } else if (!onInvalidBlock || onInvalidBlock(written, position + 1) == MissingAnswer::Stop) {
                result.stoppedAt = position + 1;
                result.stoppedLength = length;
                result.bytes.clear();
                return result;
            }
            position += length;
            i = block.next;
        } else if (m.singlePosition > 0) {
            append(result.bytes, table.bytesAt(m.singlePosition));
            i += static_cast<std::size_t>(m.singleLength);
            ++position;
        } else {
            const int position1 = position + 1;
            if (onMissing &&
                onMissing(c.value, position1, missingCharacterCode(c.value)) == MissingAnswer::Stop) {
                result.stoppedAt = position1;
                result.stoppedLength = 1;
                result.bytes.clear();
                return result;
            }
            i += c.length;
            ++position;
        }
    }
    return result;
}

} // namespace tradumar

namespace tradumar {

std::vector<Unencodable> unencodableSpans(std::string_view line, const CodecContext& context) {
    // The encoder reports characters; byte offsets are worked out once.
    std::vector<std::size_t> byteOf; // byte offset of each character, and one past the end
    for (std::size_t i = 0; i < line.size(); i += utf8SequenceLength(static_cast<unsigned char>(line[i])))
        byteOf.push_back(i);
    byteOf.push_back(line.size());
    std::vector<Unencodable> spans;
    const auto mark = [&](int position, std::size_t characters) {
        const auto first = static_cast<std::size_t>(position - 1);
        const std::size_t last = std::min(first + characters, byteOf.size() - 1);
        if (first < last)
            spans.push_back({byteOf[first], byteOf[last] - byteOf[first]});
        return MissingAnswer::GoOn;
    };
    encodeScript(
        line, context, [&](char32_t, int position, int) { return mark(position, 1); },
        [&](std::string_view block, int position) { return mark(position, characterCount(block)); });
    return spans;
}

} // namespace tradumar
