#pragma once

// The counter and the encoder written the plain way: at every position, every
// length from the longest down to 1, and at every length a walk over the
// table from its first position. Slow on purpose: the fuzz target and the
// codec tests check the indexed versions against it, the benchmarks compare
// their speed with it.

#include <cmath>
#include <string>
#include <string_view>

#include "encoding/script_codec.h"

namespace tradumar::reference {

// The first position before the table's end holding `s` (every position when
// `untilEnd` is false), or 0.
inline int walkFind(const ThingyTable& table, std::string_view s, bool untilEnd = true) {
    for (int p = 1; p <= ThingyTable::kCapacity; ++p) {
        if (untilEnd && table.at(p).text.empty())
            return 0;
        if (table.at(p).text == s)
            return p;
    }
    return 0;
}

inline std::string mid(std::string_view text, std::size_t i, int n) {
    return i >= text.size() ? std::string() : std::string(text.substr(i, static_cast<std::size_t>(n)));
}

inline std::int64_t count(std::string_view text, const CodecContext& c) {
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
            } else if (s == std::string(1, c.leftEnclosure)) {
                count += 1;
                std::size_t next = i + 102;
                for (std::size_t p = i + 101; p > i; --p)
                    if (p < text.size() && text[p] == c.rightEnclosure)
                        next = p + 1;
                i = next;
            } else if (const int p = walkFind(c.table, s)) {
                count = std::nearbyint(count + static_cast<double>(c.table.at(p).hexCode.size()) / 2.0);
                i += s.size();
            } else {
                matched = false;
            }
        }
        i += matched ? 0 : 1;
    }
    return static_cast<std::int64_t>(count);
}

inline EncodeResult encode(std::string_view text, const CodecContext& c, const MissingHandler& onMissing) {
    EncodeResult r;
    auto fail = [&](int code) {
        r.bytes.clear();
        r.error = code;
        return r;
    };
    auto add = [&](const std::string& hex) {
        const Bytes b = hexToBytes(hex);
        r.bytes.insert(r.bytes.end(), b.begin(), b.end());
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
            } else if (s == std::string(1, c.leftEnclosure)) {
                std::string buffer; // the characters read after the left enclosure
                for (std::size_t cur = i;;) {
                    if (cur < text.size() && text[cur] == c.rightEnclosure) {
                        if (buffer.empty())
                            return fail(5);
                        add(buffer.substr(0, buffer.size() - 1));
                        i = cur + 1;
                        break;
                    }
                    if (++cur + 1 > 32767)
                        return fail(6);
                    if (cur < text.size())
                        buffer += text[cur];
                    if (buffer.empty())
                        return fail(5);
                    if (buffer.size() == 4 && buffer.compare(0, 3, "END") == 0) {
                        add(c.table.at(walkFind(c.table, "END", false)).hexCode);
                        i = cur + 1;
                        break;
                    }
                }
                matched = true;
            } else if (s != "END" && s != "LINE") {
                if (const int p = walkFind(c.table, s)) {
                    add(c.table.at(p).hexCode);
                    i += s.size();
                    matched = true;
                }
            }
        }
        if (!matched) {
            const int position = static_cast<int>(i) + 1;
            if (c.longest >= 1 && onMissing &&
                onMissing(text[i], position, static_cast<unsigned char>(text[i])) == MissingAnswer::Stop) {
                r.bytes.clear();
                r.stoppedAt = position;
                return r;
            }
            i += 1;
        }
    }
    return r;
}

} // namespace tradumar::reference
