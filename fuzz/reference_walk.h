#pragma once

// The counter and the encoder written the plain way: at every position, every
// length from the longest down to 1, and at every length a walk over the
// table from its first position. Slow on purpose: the fuzz target and the
// codec tests check the indexed versions against it, the benchmarks compare
// their speed with it. It works on code points (UTF-32), apart from the
// UTF-8 walks of the indexed versions, so that the two agree only when both
// count characters right.

#include <cmath>
#include <string>
#include <string_view>

#include "encoding/script_codec.h"
#include "encoding/unicode_text.h"

namespace tradumar::reference {

inline std::u32string codePoints(std::string_view utf8) {
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto decoded = decodeUtf8At(utf8, i);
        out += decoded ? decoded->first : char32_t{0xFFFD};
        i += decoded ? decoded->second : 1;
    }
    return out;
}

inline std::string utf8(std::u32string_view text) {
    std::string out;
    for (const char32_t c : text)
        appendUtf8(out, c);
    return out;
}

// The first position before the table's end holding `s` (every position when
// `untilEnd` is false) with a code that writes bytes, or 0.
inline int walkFind(const ThingyTable& table, std::string_view s, bool untilEnd = true) {
    for (int p = 1; p <= ThingyTable::kCapacity; ++p) {
        if (untilEnd && table.at(p).text.empty())
            return 0;
        if (table.at(p).text == s && strictHexBytes(table.at(p).hexCode))
            return p;
    }
    return 0;
}

inline std::string mid(std::u32string_view text, std::size_t i, int n) {
    return i >= text.size() ? std::string() : utf8(text.substr(i, static_cast<std::size_t>(n)));
}

inline std::int64_t count(std::string_view utf8Text, const CodecContext& c) {
    const std::u32string text = codePoints(utf8Text);
    const std::string left = utf8(std::u32string(1, c.leftEnclosure));
    double count = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        bool matched = false;
        for (int n = c.longest; n >= 1 && !matched; --n) {
            const std::string s = mid(text, i, n);
            matched = true;
            if (s == "\r") {
                count += 1;
                i += 2;
            } else if (s == left) {
                count += 1;
                std::size_t next = i + 102;
                for (std::size_t p = i + 101; p > i; --p)
                    if (p < text.size() && text[p] == c.rightEnclosure)
                        next = p + 1;
                i = next;
            } else if (const int p = walkFind(c.table, s)) {
                count = std::nearbyint(count + static_cast<double>(c.table.at(p).hexCode.size()) / 2.0);
                i += codePoints(s).size();
            } else {
                matched = false;
            }
        }
        i += matched ? 0 : 1;
    }
    return static_cast<std::int64_t>(count);
}

inline EncodeResult encode(std::string_view utf8Text, const CodecContext& c, const MissingHandler& onMissing,
                           const InvalidBlockHandler& onInvalidBlock = {}) {
    const std::u32string text = codePoints(utf8Text);
    const std::string left = utf8(std::u32string(1, c.leftEnclosure));
    EncodeResult r;
    auto fail = [&](int code) {
        r.bytes.clear();
        r.error = code;
        return r;
    };
    auto add = [&](const std::string& hex) {
        const Bytes b = strictHexBytes(hex).value_or(Bytes{});
        r.bytes.insert(r.bytes.end(), b.begin(), b.end());
    };
    // A block that writes nothing is asked about; false when the user stops.
    auto invalid = [&](std::size_t from, std::size_t to) {
        const int position = static_cast<int>(from) + 1;
        if (onInvalidBlock &&
            onInvalidBlock(utf8(text.substr(from, to - from)), position) == MissingAnswer::GoOn)
            return true;
        r.bytes.clear();
        r.stoppedAt = position;
        r.stoppedLength = static_cast<int>(to - from);
        return false;
    };
    if (text.size() > 32767)
        return fail(6);
    std::size_t i = 0;
    while (i < text.size()) {
        bool matched = false;
        for (int n = c.longest; n >= 1 && !matched; --n) {
            const std::string s = mid(text, i, n);
            if (s == "\r") {
                add(c.table.at(walkFind(c.table, "LINE", false)).hexCode);
                i += 2;
                matched = true;
            } else if (s == left) {
                std::u32string buffer; // the characters read after the left enclosure
                for (std::size_t cur = i;;) {
                    if (cur < text.size() && text[cur] == c.rightEnclosure) {
                        if (buffer.empty())
                            return fail(5);
                        const std::string content = utf8(buffer.substr(0, buffer.size() - 1));
                        if (strictHexBytes(content))
                            add(content);
                        else if (!invalid(i, cur + 1))
                            return r;
                        i = cur + 1;
                        break;
                    }
                    if (++cur + 1 > 32767)
                        return fail(6);
                    if (cur < text.size())
                        buffer += text[cur];
                    if (buffer.empty())
                        return fail(5);
                    if (buffer.size() == 4 && buffer.compare(0, 3, U"END") == 0) {
                        if (const int end = walkFind(c.table, "END", false))
                            add(c.table.at(end).hexCode);
                        else if (!invalid(i, std::min(cur + 1, text.size())))
                            return r;
                        i = cur + 1;
                        break;
                    }
                }
                matched = true;
            } else if (s != "END" && s != "LINE") {
                if (const int p = walkFind(c.table, s)) {
                    add(c.table.at(p).hexCode);
                    i += codePoints(s).size();
                    matched = true;
                }
            }
        }
        if (!matched) {
            const int position = static_cast<int>(i) + 1;
            if (c.longest >= 1 && onMissing &&
                onMissing(text[i], position, missingCharacterCode(text[i])) == MissingAnswer::Stop) {
                r.bytes.clear();
                r.stoppedAt = position;
                r.stoppedLength = 1;
                return r;
            }
            i += 1;
        }
    }
    return r;
}

} // namespace tradumar::reference
