#include "encoding/optimal_codec.h"

#include <limits>
#include <optional>
#include <tuple>
#include <vector>

namespace tradumar {

namespace {

constexpr std::size_t kMaxTextLength = 32767; // as encodeScript

// What a path costs, compared in this order: raw blocks that fail the whole
// encoding, characters and blocks left out, bytes.
struct Cost {
    std::int64_t errors = 0, dropped = 0, bytes = 0;
    Cost operator+(const Cost& o) const { return {errors + o.errors, dropped + o.dropped, bytes + o.bytes}; }
    bool operator<(const Cost& o) const {
        return std::tie(errors, dropped, bytes) < std::tie(o.errors, o.dropped, o.bytes);
    }
    bool operator==(const Cost&) const = default;
};

// One choice at a byte of the text.
struct Edge {
    enum class Kind { Entry, Line, Block, InvalidBlock, BlockError, Missing, Skip };
    Kind kind = Kind::Entry;
    std::size_t next = 0; // byte after it
    int characters = 0;   // how many characters it covers
    int position = 0;     // table position (Entry)
    int error = 0;        // BlockError
    Bytes blockBytes;     // Block
    Cost cost;
};

class Graph {
public:
    Graph(std::string_view text, const CodecContext& context) : m_text(text), m_context(context) {
        const std::span<const std::uint8_t> end = context.table.bytesAt(context.table.endCodePosition());
        m_endCode.assign(end.begin(), end.end());
        // The next right enclosure at or after each character of the walk from
        // the start; a raw block closes there.
        std::vector<std::size_t> starts;
        for (std::size_t i = 0; i < text.size(); i += characterAtByte(text, i).length)
            starts.push_back(i);
        m_nextRight.assign(text.size() + 1, text.size());
        std::size_t next = text.size();
        for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
            if (characterAtByte(text, *it).value == context.rightEnclosure)
                next = *it;
            m_nextRight[*it] = next;
        }
    }

    // The choices at byte i in the order the longest-first encoder prefers them.
    void edgesAt(std::size_t i, std::vector<Edge>& out) const {
        out.clear();
        const ThingyTable& table = m_context.table;
        const Utf8Character c = characterAtByte(m_text, i);
        if (m_context.longest < 1) {
            out.push_back(skip(i + c.length, 1));
            return;
        }
        int singlePosition = 0, singleLength = 0;
        table.forEachPrefixMatch(m_text.substr(i), m_context.longest, [&](int n, int bytes, int position) {
            if (n == 1) {
                singlePosition = position, singleLength = bytes;
                return;
            }
            const std::string_view matched = m_text.substr(i, static_cast<std::size_t>(bytes));
            if (matched == "END" || matched == "LINE")
                return;
            Edge e;
            e.next = i + static_cast<std::size_t>(bytes);
            e.characters = n;
            e.position = position;
            e.cost.bytes = static_cast<std::int64_t>(table.bytesAt(position).size());
            out.insert(out.begin(), std::move(e)); // longest first
        });
        if (c.value == U'\r') {
            Edge e;
            e.kind = Edge::Kind::Line;
            e.next = std::min(m_text.size(),
                              i + 1 < m_text.size() ? i + 1 + characterAtByte(m_text, i + 1).length : i + 2);
            e.characters = 2;
            e.cost.bytes = static_cast<std::int64_t>(table.bytesAt(table.lineCodePosition()).size());
            out.push_back(std::move(e));
        } else if (c.value == m_context.leftEnclosure) {
            out.push_back(rawBlock(i, c.length));
        } else if (singlePosition > 0) {
            Edge e;
            e.next = i + static_cast<std::size_t>(singleLength);
            e.characters = 1;
            e.position = singlePosition;
            e.cost.bytes = static_cast<std::int64_t>(table.bytesAt(singlePosition).size());
            out.push_back(std::move(e));
        } else {
            Edge e = skip(i + c.length, 1);
            e.kind = Edge::Kind::Missing;
            e.cost.dropped = 1;
            out.push_back(std::move(e));
        }
    }

private:
    static Edge skip(std::size_t next, int characters) {
        Edge e;
        e.kind = Edge::Kind::Skip;
        e.next = next;
        e.characters = characters;
        return e;
    }

    // The raw block whose left enclosure starts at byte i, read as the
    // longest-first encoder reads it: up to the next right enclosure, or
    // "END" and the character after it; failing when it never closes.
    Edge rawBlock(std::size_t i, std::size_t leftLength) const {
        Edge e;
        const std::size_t first = i + leftLength;
        const auto fail = [&](int code) {
            e.kind = Edge::Kind::BlockError;
            e.error = code;
            e.next = m_text.size();
            e.cost.errors = 1;
            return e;
        };
        if (m_context.leftEnclosure == m_context.rightEnclosure || first >= m_text.size())
            return fail(FailureCode::InvalidCall);
        const std::size_t right = m_nextRight[first];
        // "END" closes the block with the one character after it, unless a
        // right enclosure comes first.
        if (m_text.substr(first, 3) == "END" && first + 3 < m_text.size() && right >= first + 3) {
            e.next = first + 3 + characterAtByte(m_text, first + 3).length;
            e.characters = static_cast<int>(characterCount(m_text.substr(i, e.next - i)));
            if (m_endCode.empty()) {
                e.kind = Edge::Kind::InvalidBlock;
                e.cost.dropped = 1;
            } else {
                e.kind = Edge::Kind::Block;
                e.blockBytes = m_endCode;
                e.cost.bytes = static_cast<std::int64_t>(m_endCode.size());
            }
            return e;
        }
        if (right >= m_text.size())
            return fail(FailureCode::Overflow);
        e.next = right + characterAtByte(m_text, right).length;
        e.characters = static_cast<int>(characterCount(m_text.substr(i, e.next - i)));
        if (std::optional<Bytes> bytes = strictHexBytes(m_text.substr(first, right - first))) {
            e.kind = Edge::Kind::Block;
            e.cost.bytes = static_cast<std::int64_t>(bytes->size());
            e.blockBytes = std::move(*bytes);
        } else {
            e.kind = Edge::Kind::InvalidBlock;
            e.cost.dropped = 1;
        }
        return e;
    }

    std::string_view m_text;
    const CodecContext& m_context;
    Bytes m_endCode;
    std::vector<std::size_t> m_nextRight;
};

// The cheapest cost from every byte to the end of the text.
std::vector<Cost> cheapestToEnd(std::string_view text, const Graph& graph) {
    std::vector<Cost> best(text.size() + 1);
    std::vector<Edge> edges;
    for (std::size_t i = text.size(); i-- > 0;) {
        graph.edgesAt(i, edges);
        Cost cheapest{std::numeric_limits<std::int64_t>::max() / 4, 0, 0};
        for (const Edge& e : edges)
            if (const Cost c = e.cost + best[e.next]; c < cheapest)
                cheapest = c;
        best[i] = cheapest;
    }
    return best;
}

// The preferred cheapest choice at byte i.
Edge choose(const Graph& graph, const std::vector<Cost>& best, std::size_t i, std::vector<Edge>& edges) {
    graph.edgesAt(i, edges);
    for (Edge& e : edges)
        if (e.cost + best[e.next] == best[i])
            return std::move(e);
    return std::move(edges.front());
}

} // namespace

EncodeResult encodeOptimal(std::string_view text, const CodecContext& context,
                           const MissingHandler& onMissing, const InvalidBlockHandler& onInvalidBlock) {
    EncodeResult result;
    if (characterCount(text) > kMaxTextLength) {
        result.error = FailureCode::Overflow;
        return result;
    }
    const Graph graph(text, context);
    const std::vector<Cost> best = cheapestToEnd(text, graph);
    const ThingyTable& table = context.table;
    std::vector<Edge> edges;
    int position = 0; // characters before byte i
    for (std::size_t i = 0; i < text.size();) {
        const Edge e = choose(graph, best, i, edges);
        const int here = position + 1;
        switch (e.kind) {
        case Edge::Kind::Entry: {
            const auto code = table.bytesAt(e.position);
            result.bytes.insert(result.bytes.end(), code.begin(), code.end());
            break;
        }
        case Edge::Kind::Line: {
            const auto code = table.bytesAt(table.lineCodePosition());
            result.bytes.insert(result.bytes.end(), code.begin(), code.end());
            break;
        }
        case Edge::Kind::Block:
            result.bytes.insert(result.bytes.end(), e.blockBytes.begin(), e.blockBytes.end());
            break;
        case Edge::Kind::InvalidBlock:
            if (!onInvalidBlock || onInvalidBlock(text.substr(i, e.next - i), here) == MissingAnswer::Stop) {
                result.stoppedAt = here;
                result.stoppedLength = e.characters;
                result.bytes.clear();
                return result;
            }
            break;
        case Edge::Kind::BlockError:
            result.error = e.error;
            result.errorAt = here;
            result.bytes.clear();
            return result;
        case Edge::Kind::Missing: {
            const char32_t c = characterAtByte(text, i).value;
            if (onMissing && onMissing(c, here, missingCharacterCode(c)) == MissingAnswer::Stop) {
                result.stoppedAt = here;
                result.stoppedLength = 1;
                result.bytes.clear();
                return result;
            }
            break;
        }
        case Edge::Kind::Skip:
            break;
        }
        position += e.characters;
        i = e.next;
    }
    return result;
}

std::int64_t countOptimalBytes(std::string_view text, const CodecContext& context) {
    const Graph graph(text, context);
    return cheapestToEnd(text, graph).front().bytes;
}

} // namespace tradumar
