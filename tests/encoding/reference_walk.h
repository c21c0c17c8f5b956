#pragma once

// The counter and encoder written the slow, obvious way: at every position, every length from L down to 1,
// and at every length a walk over the table from its first position. Slow on purpose; the tests use it as the
// oracle for the indexed versions.

#include <cmath>
#include <string>
#include <string_view>

#include "encoding/script_codec.h"

namespace tradumar::reference {

inline std::string mid(std::string_view text, std::size_t i, std::size_t n) {
    if (i >= text.size())
        return {};
    return std::string(text.substr(i, n));
}

inline int walkFind(const ThingyTable& table, const std::string& s) {
    for (int p = 1; p <= ThingyTable::kCapacity; ++p) {
        const ThingyEntry& e = table.at(p);
        if (e.text.empty())
            return 0;
        if (e.text == s)
            return p;
    }
    return 0;
}

inline const ThingyEntry* walkAll(const ThingyTable& table, std::string_view text) {
    for (int p = 1; p <= ThingyTable::kCapacity; ++p)
        if (table.at(p).text == text)
            return &table.at(p);
    return nullptr;
}

inline std::int64_t count(std::string_view text, const CodecContext& c) {
    double count = 0;
    std::size_t i = 0;
    const std::string left(1, c.leftEnclosure);
    while (i < text.size()) {
        bool matched = false;
        for (int n = c.longest; n >= 1 && !matched; --n) {
            const std::string s = mid(text, i, static_cast<std::size_t>(n));
            if (s == "\r") {
                count += 1;
                i += 2;
                matched = true;
            } else if (s == left) {
                count += 1;
                std::size_t next = i + 102;
                for (std::size_t p = i + 1; p <= i + 101; ++p) {
                    if (p < text.size() && text[p] == c.rightEnclosure) {
                        next = p + 1;
                        break;
                    }
                }
                i = next;
                matched = true;
            } else if (const int p = walkFind(c.table, s); p > 0) {
                count = std::nearbyint(count + static_cast<double>(c.table.at(p).hexCode.size()) / 2.0);
                i += s.size();
                matched = true;
            }
        }
        if (!matched)
            i += 1;
    }
    return static_cast<std::int64_t>(count);
}

inline EncodeResult encode(std::string_view text, const CodecContext& c, const MissingHandler& onMissing) {
    EncodeResult r;
    if (text.size() > 32767) {
        r.error = 6;
        return r;
    }
    std::size_t i = 0;
    const std::string left(1, c.leftEnclosure);
    auto fail = [&](int code) {
        r.bytes.clear();
        r.error = code;
        return r;
    };
    auto add = [&](const std::string& hex) {
        const Bytes b = hexToBytes(hex);
        r.bytes.insert(r.bytes.end(), b.begin(), b.end());
    };
    while (i < text.size()) {
        bool matched = false;
        for (int n = c.longest; n >= 1 && !matched; --n) {
            const std::string s = mid(text, i, static_cast<std::size_t>(n));
            if (s == "\r") {
                if (const ThingyEntry* e = walkAll(c.table, "LINE"))
                    add(e->hexCode);
                i += 2;
                matched = true;
            } else if (s == left) {
                std::string buffer;
                std::size_t cur = i; // 0-based position of the current character
                for (;;) {
                    if (cur < text.size() && text[cur] == c.rightEnclosure) {
                        if (buffer.empty())
                            return fail(5);
                        add(buffer.substr(0, buffer.size() - 1));
                        i = cur + 1;
                        break;
                    }
                    ++cur;
                    if (cur + 1 > 32767)
                        return fail(6);
                    if (cur < text.size())
                        buffer += text[cur];
                    if (buffer.empty())
                        return fail(5);
                    if (buffer.size() == 4 && buffer.compare(0, 3, "END") == 0) {
                        if (const ThingyEntry* e = walkAll(c.table, "END"))
                            add(e->hexCode);
                        i = cur + 1;
                        break;
                    }
                }
                matched = true;
            } else if (s != "END" && s != "LINE") {
                if (const int p = walkFind(c.table, s); p > 0) {
                    add(c.table.at(p).hexCode);
                    i += s.size();
                    matched = true;
                }
            }
        }
        if (!matched) {
            if (c.longest >= 1 && onMissing &&
                onMissing(text[i], static_cast<int>(i) + 1, static_cast<unsigned char>(text[i])) ==
                    MissingAnswer::Stop) {
                r.bytes.clear();
                r.stoppedAt = static_cast<int>(i) + 1;
                return r;
            }
            i += 1;
        }
    }
    return r;
}

} // namespace tradumar::reference
