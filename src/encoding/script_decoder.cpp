#include "encoding/script_decoder.h"

#include <algorithm>
#include <vector>

namespace tradumar {

namespace {

enum class Kind : std::uint8_t { Text, Line, End };

} // namespace

// A byte trie over the codes; each node knows the first entry whose code ends there.
struct ScriptDecoder::Trie {
    struct Node {
        std::vector<std::pair<std::uint8_t, std::int32_t>> next; // few per node: a linear look
        std::int32_t entry = -1;                                 // index into texts/kinds
    };
    std::vector<Node> nodes{1};
    std::vector<std::string> texts;
    std::vector<Kind> kinds;

    std::int32_t next(std::int32_t node, std::uint8_t byte) const {
        for (const auto& [b, child] : nodes[static_cast<std::size_t>(node)].next)
            if (b == byte)
                return child;
        return -1;
    }

    void add(std::span<const std::uint8_t> code, std::string text, Kind kind) {
        std::int32_t node = 0;
        for (const std::uint8_t byte : code) {
            std::int32_t child = next(node, byte);
            if (child < 0) {
                child = static_cast<std::int32_t>(nodes.size());
                nodes[static_cast<std::size_t>(node)].next.emplace_back(byte, child);
                nodes.emplace_back();
            }
            node = child;
        }
        Node& n = nodes[static_cast<std::size_t>(node)];
        if (n.entry >= 0)
            return;
        n.entry = static_cast<std::int32_t>(texts.size());
        texts.push_back(std::move(text));
        kinds.push_back(kind);
    }
};

ScriptDecoder::ScriptDecoder(const ThingyTable& table, char32_t leftEnclosure, char32_t rightEnclosure)
    : m_trie(std::make_unique<Trie>()), m_left(utf8Of(leftEnclosure)), m_right(utf8Of(rightEnclosure)) {
    m_end = m_left + "END" + m_right;
    const auto kindOf = [](const std::string& text) {
        return text == "END" ? Kind::End : text == "LINE" ? Kind::Line : Kind::Text;
    };
    // Entries in table order so the first of a code wins; the end and line
    // codes may stand past the table's end.
    int position = 1;
    for (; position <= ThingyTable::kCapacity && !table.at(position).text.empty(); ++position)
        if (table.usable(position))
            m_trie->add(table.bytesAt(position), table.at(position).text, kindOf(table.at(position).text));
    for (const int code : {table.endCodePosition(), table.lineCodePosition()})
        if (code >= position)
            m_trie->add(table.bytesAt(code), table.at(code).text, kindOf(table.at(code).text));
}

ScriptDecoder::~ScriptDecoder() = default;
ScriptDecoder::ScriptDecoder(ScriptDecoder&&) noexcept = default;

DecodedScript ScriptDecoder::decode(std::span<const std::uint8_t> bytes, std::size_t maxSize) const {
    static const char digits[] = "0123456789ABCDEF";
    DecodedScript out;
    const std::size_t limit = std::min(bytes.size(), maxSize);
    std::size_t i = 0;
    while (i < limit) {
        // The longest code that starts here and ends within the limit.
        std::int32_t node = 0, entry = -1;
        std::size_t length = 0;
        for (std::size_t j = i; j < limit; ++j) {
            node = m_trie->next(node, bytes[j]);
            if (node < 0)
                break;
            if (const std::int32_t e = m_trie->nodes[static_cast<std::size_t>(node)].entry; e >= 0)
                entry = e, length = j + 1 - i;
        }
        if (entry < 0) {
            out.text += m_left;
            out.text += digits[bytes[i] >> 4];
            out.text += digits[bytes[i] & 15];
            out.text += m_right;
            ++i;
            continue;
        }
        i += length;
        const auto e = static_cast<std::size_t>(entry);
        if (m_trie->kinds[e] == Kind::End) {
            out.text += m_end;
            out.ended = true;
            break;
        }
        out.text += m_trie->kinds[e] == Kind::Line ? std::string("\r\n") : m_trie->texts[e];
    }
    out.size = i;
    // Texts of entries are NFC each, but a combining mark after a letter may
    // not be once joined.
    if (std::any_of(out.text.begin(), out.text.end(),
                    [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
        out.text = toNfc(out.text);
    return out;
}

} // namespace tradumar
