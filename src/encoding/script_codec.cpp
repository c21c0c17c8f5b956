#include "encoding/script_codec.h"

namespace tradumar {

namespace {

constexpr std::size_t kMaxTextLength = 32767;
// How far the counter looks for the closing enclosure of a raw block.
constexpr std::size_t kRawBlockSearch = 101;

bool isCodeText(std::string_view s) {
    return s == "END" || s == "LINE";
}

// What the table holds at position i: the longest text of two or more
// characters (tried first, from the longest length down), and the entry for
// the single character (tried only after the line break and raw block tests).
struct Matches {
    int length = 0;         // 0 when no text of two or more characters matches
    int position = 0;       // its table position
    int singlePosition = 0; // the single character's table position, 0 if none
};

Matches matchesAt(std::string_view text, std::size_t i, int maxLength, const ThingyTable& table,
                  bool skipCodeTexts) {
    Matches m;
    table.forEachPrefixMatch(text.substr(i), maxLength, [&](int n, int position) {
        if (n == 1) {
            m.singlePosition = position;
            return;
        }
        if (skipCodeTexts && isCodeText(text.substr(i, static_cast<std::size_t>(n))))
            return;
        m.length = n;
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

} // namespace

std::int64_t countTranslatedBytes(std::string_view text, const CodecContext& context) {
    const ThingyTable& table = context.table;
    std::int64_t count = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (context.longest < 1) {
            ++i;
            continue;
        }
        const Matches m = matchesAt(text, i, context.longest, table, false);
        if (m.length > 0) {
            count = addHalf(count, table.at(m.position).hexCode.size());
            i += static_cast<std::size_t>(m.length);
            continue;
        }
        const char c = text[i];
        if (c == '\r') {
            count += 1;
            i += 2;
        } else if (c == context.leftEnclosure) {
            count += 1;
            std::size_t next = i + kRawBlockSearch + 1;
            for (std::size_t p = i + 1; p <= i + kRawBlockSearch && p < text.size(); ++p) {
                if (text[p] == context.rightEnclosure) {
                    next = p + 1;
                    break;
                }
            }
            i = next;
        } else if (m.singlePosition > 0) {
            count = addHalf(count, table.at(m.singlePosition).hexCode.size());
            i += 1;
        } else {
            i += 1;
        }
    }
    return count;
}

namespace {

// Reads the raw block whose left enclosure is at `i`, one character at a
// time. The closing test looks at the character read in the step before, so
// the buffer always ends with the right enclosure when the block closes and
// that last character is left out; "END" is recognised before the closing.
// Returns the position after the block, or sets `error`.
std::size_t readRawBlock(std::string_view text, std::size_t i, const CodecContext& context, Bytes& out,
                         int& error) {
    std::string buffer;
    std::size_t current = i;
    for (;;) {
        if (current < text.size() && text[current] == context.rightEnclosure) {
            if (buffer.empty()) {
                error = FailureCode::InvalidCall;
                return current;
            }
            append(out, hexToBytes(std::string_view(buffer).substr(0, buffer.size() - 1)));
            return current + 1;
        }
        ++current;
        const bool pastEnd = current >= text.size();
        if (!pastEnd)
            buffer += text[current];
        if (buffer.empty()) {
            error = FailureCode::InvalidCall;
            return current;
        }
        if (std::string_view(buffer).substr(0, buffer.size() - 1) == "END") {
            append(out, context.table.bytesAt(context.table.endCodePosition()));
            return current + 1;
        }
        // Past the end nothing changes any more: the block never closes and its
        // position would run past the 16-bit limit.
        if (pastEnd) {
            error = FailureCode::Overflow;
            return current;
        }
    }
}

} // namespace

EncodeResult encodeScript(std::string_view text, const CodecContext& context,
                          const MissingHandler& onMissing) {
    EncodeResult result;
    if (text.size() > kMaxTextLength) {
        result.error = FailureCode::Overflow;
        return result;
    }
    const ThingyTable& table = context.table;
    std::size_t i = 0;
    while (i < text.size()) {
        if (context.longest < 1) {
            ++i;
            continue;
        }
        const Matches m = matchesAt(text, i, context.longest, table, true);
        if (m.length > 0) {
            append(result.bytes, table.bytesAt(m.position));
            i += static_cast<std::size_t>(m.length);
            continue;
        }
        const char c = text[i];
        if (c == '\r') {
            append(result.bytes, table.bytesAt(table.lineCodePosition()));
            i += 2;
        } else if (c == context.leftEnclosure) {
            i = readRawBlock(text, i, context, result.bytes, result.error);
            if (result.error != FailureCode::None) {
                result.bytes.clear();
                return result;
            }
        } else if (m.singlePosition > 0) {
            append(result.bytes, table.bytesAt(m.singlePosition));
            i += 1;
        } else {
            const int position1 = static_cast<int>(i) + 1;
            if (onMissing && onMissing(c, position1, static_cast<unsigned char>(c)) == MissingAnswer::Stop) {
                result.stoppedAt = position1;
                result.bytes.clear();
                return result;
            }
            i += 1;
        }
    }
    return result;
}

} // namespace tradumar
