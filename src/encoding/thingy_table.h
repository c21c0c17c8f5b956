#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

    // For each length n from 1 to min(maxLength, text.size()) whose first n
    // characters are the text of an entry, calls visit(n, position) with the
    // first such position, shortest first.
    template <typename Visit>
    void forEachPrefixMatch(std::string_view text, int maxLength, Visit&& visit) const;

    // The position of the first entry whose text is "LINE" / "END" among all
    // 5000 positions (empty entries do not stop this search), or 0.
    int lineCodePosition() const;
    int endCodePosition() const;

    // The bytes an entry's code stands for (its hexCode read in digit pairs,
    // none for an odd count), decoded once when the index is built.
    std::span<const std::uint8_t> bytesAt(int position) const;

    // The length of the longest text before the table's end, at least 1.
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
    Unreadable,     // the file could not be read; the table is unchanged
    Overflow,       // TableOverflow::Fail and more than 5000 entries; the first 5000 are stored
    NotWindows1252, // a UTF-8 file with a character Windows-1252 lacks; the table is unchanged
};

// Reads a thingy table file into `table` from position 1. Lines end at CR LF,
// CR or LF, and a UTF-8 file is read as Windows-1252 (encoding/text_file.h).
// A line with "=" is an entry (code before the first "=", text after it);
// "/code" is an end code, "*code" a line code; any other line is skipped.
// Positions past the last entry are left as they were. For NotWindows1252,
// `unfit` (when given) receives the character that does not fit.
LoadStatus loadThingyTable(const std::string& path, ThingyTable& table, TableOverflow overflow,
                           char32_t* unfit = nullptr);

// The same rules applied to a table file's content already in memory.
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
    const std::size_t limit =
        maxLength <= 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(maxLength), text.size());
    std::int32_t node = -1; // the root
    for (std::size_t n = 1; n <= limit; ++n) {
        node = idx.child(node, static_cast<unsigned char>(text[n - 1]));
        if (node < 0)
            return;
        if (const std::int32_t pos = idx.nodes[static_cast<std::size_t>(node)].position; pos > 0)
            visit(static_cast<int>(n), static_cast<int>(pos));
    }
}

} // namespace tradumar
