#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "encoding/unicode_text.h"

namespace tradumar {

// One line of a thingy table: the bytes in hexadecimal as written in the file
// (never trimmed or checked) and the characters they stand for, or "END" /
// "LINE" for an end code / line code.
struct ThingyEntry {
    std::string hexCode;
    std::string text;

    bool empty() const { return hexCode.empty() && text.empty(); }
    bool operator==(const ThingyEntry&) const = default;
};

// A thingy table of 5000 positions (1-based). There is no count: the first
// entry whose text is empty ends the table for text lookups and for
// longestTextLength(). Lookups go through an index built from the entries
// before that end (first entry wins), rebuilt lazily after any change.
class ThingyTable {
public:
    static constexpr int kCapacity = 5000;

    ThingyTable();
    ~ThingyTable();
    ThingyTable(const ThingyTable&);
    ThingyTable& operator=(const ThingyTable&);

    const ThingyEntry& at(int position) const;
    void set(int position, ThingyEntry entry);
    // Sets every position back to an empty entry.
    void clear();

    // The first position before the table's end whose text equals `text`
    // exactly, or 0 when there is none.
    int find(std::string_view text) const;

    // For each length n from 1 to maxLength characters whose first n
    // characters of `text` (UTF-8) are the text of an entry, calls
    // visit(n, bytes, position) with their length in bytes and the first such
    // position, shortest first.
    template <typename Visit>
    void forEachPrefixMatch(std::string_view text, int maxLength, Visit&& visit) const;

    // The position of the first entry whose text is "LINE" / "END" among all
    // 5000 positions (empty entries do not stop this search), or 0.
    int lineCodePosition() const;
    int endCodePosition() const;

    // The bytes an entry's code stands for (its hexCode read in digit pairs,
    // none for an odd count), decoded once when the index is built.
    std::span<const std::uint8_t> bytesAt(int position) const;

    // The length in characters of the longest text before the table's end, at least 1.
    // Without codes, entries whose text is exactly "END" or "LINE" are skipped.
    std::int16_t longestTextLength(bool withCodes) const;

private:
    struct Index;
    const Index& index() const;

    std::vector<ThingyEntry> m_entries;
    mutable std::unique_ptr<Index> m_index;
};

enum class TableOverflow {
    Drop, // the original table: entries past 5000 are dropped silently
    Fail, // the translated table: the 5001st entry is a failure
};

enum class LoadStatus {
    Loaded,
    Unreadable,  // the file could not be read; the table is unchanged
    Overflow,    // TableOverflow::Fail and more than 5000 entries; the first 5000 are stored
    Undecodable, // neither UTF-8 nor valid in the legacy code page; the table is unchanged
};

struct TableLoad {
    LoadStatus status = LoadStatus::Loaded;
    std::size_t badOffset = 0; // for Undecodable: the first byte that does not decode
    unsigned char badByte = 0;
};

// Reads a thingy table file into `table` from position 1, by the rules of
// encoding/text_file.h (UTF-8, or the legacy code page; lines end at CR LF,
// CR or LF). A line with "=" is an entry (code before the first "=", text
// after it); "/code" is an end code, "*code" a line code; any other line is
// skipped. Positions past the last entry are left as they were.
TableLoad loadThingyTable(const std::string& path, ThingyTable& table, TableOverflow overflow,
                          LegacyCodePage legacy = LegacyCodePage::Windows1252);

// The same rules applied to a table file's text already decoded (UTF-8).
LoadStatus parseThingyTable(std::string_view content, ThingyTable& table, TableOverflow overflow);

// ---- implementation of the template ----

// A trie over the texts before the table's end, laid out flat: the root's
// children by byte, every other node's children as one sorted run of edges.
struct ThingyTable::Index {
    struct Node {
        std::int32_t position = 0; // first table position with this text, 0 if none
        std::uint32_t firstEdge = 0;
        std::uint32_t edgeCount = 0;
    };
    std::int32_t root[256];
    std::vector<Node> nodes;
    std::vector<unsigned char> edgeBytes;
    std::vector<std::int32_t> edgeTargets;

    // Every position's decoded code: bytes[byteOffsets[p - 1] .. byteOffsets[p]).
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint32_t> byteOffsets;
    int lineCode = 0; // first position whose text is "LINE", 0 if none
    int endCode = 0;  // first position whose text is "END", 0 if none

    std::int32_t child(std::int32_t node, unsigned char c) const {
        if (node < 0)
            return root[c];
        const Node& n = nodes[static_cast<std::size_t>(node)];
        const unsigned char* first = edgeBytes.data() + n.firstEdge;
        const unsigned char* last = first + n.edgeCount;
        const unsigned char* it = std::lower_bound(first, last, c);
        return it != last && *it == c ? edgeTargets[static_cast<std::size_t>(it - edgeBytes.data())] : -1;
    }
};

template <typename Visit>
void ThingyTable::forEachPrefixMatch(std::string_view text, int maxLength, Visit&& visit) const {
    const Index& idx = index();
    if (maxLength <= 0)
        return;
    // Entries are whole UTF-8 texts, so a node that holds one always ends a
    // character; the walk counts characters at their lead bytes.
    int characters = 0;
    std::int32_t node = -1; // the root
    for (std::size_t n = 1; n <= text.size(); ++n) {
        const auto byte = static_cast<unsigned char>(text[n - 1]);
        if ((byte & 0xC0) != 0x80 && ++characters > maxLength)
            return;
        node = idx.child(node, byte);
        if (node < 0)
            return;
        if (const std::int32_t pos = idx.nodes[static_cast<std::size_t>(node)].position; pos > 0)
            visit(characters, static_cast<int>(n), static_cast<int>(pos));
    }
}

} // namespace tradumar
