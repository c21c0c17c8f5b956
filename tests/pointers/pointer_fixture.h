#pragma once

#include <string>
#include <vector>

#include "encoding/thingy_table.h"
#include "pointers/pointer_format.h"

namespace tradumar::testsupport {

// A table with single letters, two-letter and three-letter texts, a code of
// two bytes, a line code and an end code; 0x15 0x10 spells "la" as well as 0x20.
inline ThingyTable pointerTestTable() {
    ThingyTable table;
    parseThingyTable("10=a\n11=b\n12=e\n13=q\n14=u\n15=l\n20=la\n21=el\n2A0B=ñ\n3031=que\n*FE\n/FF\n", table,
                     TableOverflow::Drop);
    return table;
}

struct KnownScript {
    Bytes bytes;
    std::string text; // as the extraction gives it back
    bool reencodes;
};

// Multi-byte codes, a line code, an unknown byte, and a text the table
// writes two ways.
inline const std::vector<KnownScript>& knownScripts() {
    static const std::vector<KnownScript> scripts = {
        {{0x10, 0x20, 0xFE, 0x2A, 0x0B, 0xFF}, "ala\r\nñ<END>", true},
        {{0x30, 0x31, 0x99, 0x11, 0xFF}, "que<99>b<END>", true},
        {{0x15, 0x10, 0xFF}, "la<END>", false},
    };
    return scripts;
}

// A ROM of `size` bytes of 0xEE with the known scripts one after another
// from `at`, and a table of pointers to them at `tableAt`, `step` apart.
inline Bytes romWithScripts(std::size_t size, std::int64_t at, std::int64_t tableAt, int step,
                            const PointerFormat& format, std::vector<std::int64_t>* offsets = nullptr) {
    Bytes rom(size, 0xEE);
    std::int64_t next = at;
    for (std::size_t k = 0; k < knownScripts().size(); ++k) {
        const Bytes& bytes = knownScripts()[k].bytes;
        std::copy(bytes.begin(), bytes.end(), rom.begin() + next);
        const Bytes pointer = format.write(format.valueOf(next).value());
        std::copy(pointer.begin(), pointer.end(),
                  rom.begin() + tableAt + step * static_cast<std::int64_t>(k));
        if (offsets)
            offsets->push_back(next);
        next += static_cast<std::int64_t>(bytes.size());
    }
    return rom;
}

} // namespace tradumar::testsupport
