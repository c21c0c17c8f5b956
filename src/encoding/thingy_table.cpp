#include "encoding/thingy_table.h"

#include <limits>

#include "encoding/conversions.h"
#include "encoding/text_file.h"

namespace tradumar {

namespace {

const ThingyEntry& emptyEntry() {
    static const ThingyEntry empty;
    return empty;
}

} // namespace

ThingyTable::ThingyTable() : m_entries(kCapacity) {}
ThingyTable::~ThingyTable() = default;
ThingyTable::ThingyTable(const ThingyTable& other) : m_entries(other.m_entries) {}
ThingyTable& ThingyTable::operator=(const ThingyTable& other) {
    if (this != &other) {
        m_entries = other.m_entries;
        m_index.reset();
    }
    return *this;
}

const ThingyEntry& ThingyTable::at(int position) const {
    if (position < 1 || position > kCapacity)
        return emptyEntry();
    return m_entries[static_cast<std::size_t>(position - 1)];
}

void ThingyTable::set(int position, ThingyEntry entry) {
    if (position < 1 || position > kCapacity)
        return;
    m_entries[static_cast<std::size_t>(position - 1)] = std::move(entry);
    m_index.reset();
}

void ThingyTable::clear() {
    for (auto& entry : m_entries)
        entry = ThingyEntry{};
    m_index.reset();
}

const ThingyTable::Index& ThingyTable::index() const {
    if (m_index)
        return *m_index;

    // The texts before the table's end, sorted, each with the first position
    // that holds it.
    std::vector<std::pair<std::string_view, std::int32_t>> texts;
    for (int position = 1; position <= kCapacity; ++position) {
        const ThingyEntry& entry = m_entries[static_cast<std::size_t>(position - 1)];
        if (entry.text.empty())
            break;
        if (strictHexBytes(entry.hexCode))
            texts.emplace_back(entry.text, position);
    }
    std::sort(texts.begin(), texts.end());
    texts.erase(std::unique(texts.begin(), texts.end(),
                            [](const auto& a, const auto& b) { return a.first == b.first; }),
                texts.end());

    // Breadth first: a node stands for the run of sorted texts that share its
    // prefix; its children are the sub-runs grouped by the next byte, so each
    // node's edges are laid out together and already sorted.
    auto index = std::make_unique<Index>();
    std::fill(std::begin(index->root), std::end(index->root), -1);
    struct Pending {
        std::int32_t node; // -1 for the root
        std::uint32_t begin, end, depth;
    };
    // No trie has more nodes than its texts have characters.
    std::size_t characters = 0;
    for (const auto& text : texts)
        characters += text.first.size();
    index->nodes.reserve(characters);
    index->edgeBytes.reserve(characters);
    index->edgeTargets.reserve(characters);
    std::vector<Pending> queue;
    queue.reserve(characters + 1);
    queue.push_back({-1, 0, static_cast<std::uint32_t>(texts.size()), 0});
    for (std::size_t q = 0; q < queue.size(); ++q) {
        const Pending run = queue[q];
        std::size_t i = run.begin;
        // The text that ends exactly here sorts first in its run.
        if (i < run.end && texts[i].first.size() == run.depth) {
            index->nodes[static_cast<std::size_t>(run.node)].position = texts[i].second;
            ++i;
        }
        if (run.node >= 0)
            index->nodes[static_cast<std::size_t>(run.node)].firstEdge =
                static_cast<std::uint32_t>(index->edgeBytes.size());
        while (i < run.end) {
            const auto byte = static_cast<unsigned char>(texts[i].first[run.depth]);
            std::size_t j = i + 1;
            while (j < run.end && static_cast<unsigned char>(texts[j].first[run.depth]) == byte)
                ++j;
            const auto created = static_cast<std::int32_t>(index->nodes.size());
            index->nodes.emplace_back();
            if (run.node < 0) {
                index->root[byte] = created;
            } else {
                index->edgeBytes.push_back(byte);
                index->edgeTargets.push_back(created);
                ++index->nodes[static_cast<std::size_t>(run.node)].edgeCount;
            }
            queue.push_back(
                {created, static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(j), run.depth + 1});
            i = j;
        }
    }

    index->byteOffsets.reserve(kCapacity + 1);
    index->bytes.reserve(kCapacity * 2);
    index->byteOffsets.push_back(0);
    for (int position = 1; position <= kCapacity; ++position) {
        const ThingyEntry& entry = m_entries[static_cast<std::size_t>(position - 1)];
        const std::optional<Bytes> decoded =
            entry.hexCode.empty() ? std::nullopt : strictHexBytes(entry.hexCode);
        if (decoded)
            index->bytes.insert(index->bytes.end(), decoded->begin(), decoded->end());
        index->byteOffsets.push_back(static_cast<std::uint32_t>(index->bytes.size()));
        if (index->lineCode == 0 && entry.text == "LINE" && decoded)
            index->lineCode = position;
        if (index->endCode == 0 && entry.text == "END" && decoded)
            index->endCode = position;
    }

    m_index = std::move(index);
    return *m_index;
}

int ThingyTable::find(std::string_view text) const {
    if (text.empty())
        return 0;
    const Index& idx = index();
    std::int32_t node = -1;
    for (char ch : text) {
        node = idx.child(node, static_cast<unsigned char>(ch));
        if (node < 0)
            return 0;
    }
    return idx.nodes[static_cast<std::size_t>(node)].position;
}

int ThingyTable::lineCodePosition() const {
    return index().lineCode;
}
int ThingyTable::endCodePosition() const {
    return index().endCode;
}

std::span<const std::uint8_t> ThingyTable::bytesAt(int position) const {
    if (position < 1 || position > kCapacity)
        return {};
    const Index& idx = index();
    const std::uint32_t begin = idx.byteOffsets[static_cast<std::size_t>(position - 1)];
    const std::uint32_t end = idx.byteOffsets[static_cast<std::size_t>(position)];
    return {idx.bytes.data() + begin, end - begin};
}

std::int16_t ThingyTable::longestTextLength(bool withCodes) const {
    std::size_t longest = 1;
    for (const auto& entry : m_entries) {
        if (entry.text.empty())
            break;
        if (!withCodes && (entry.text == "END" || entry.text == "LINE"))
            continue;
        longest = std::max(longest, characterCount(entry.text));
    }
    return static_cast<std::int16_t>(
        std::min<std::size_t>(longest, static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())));
}

namespace {

// Classifies one line of a table file; false for a line that takes no position.
bool parseLine(std::string_view line, ThingyEntry& entry) {
    if (const std::size_t equals = line.find('='); equals != std::string_view::npos) {
        entry.hexCode = std::string(line.substr(0, equals));
        entry.text = std::string(line.substr(equals + 1));
        return true;
    }
    if (!line.empty() && line.front() == '/') {
        entry.hexCode = std::string(line.substr(1));
        entry.text = "END";
        return true;
    }
    if (!line.empty() && line.front() == '*') {
        entry.hexCode = std::string(line.substr(1));
        entry.text = "LINE";
        return true;
    }
    return false;
}

} // namespace

TableLoad loadThingyTable(const std::string& path, ThingyTable& table, TableOverflow overflow,
                          LegacyCodePage legacy) {
    const DecodedText content = readTextFile(path, legacy);
    if (content.status == TextFileStatus::Unreadable)
        return {LoadStatus::Unreadable, 0, 0, {}};
    if (content.status == TextFileStatus::Undecodable)
        return {LoadStatus::Undecodable, content.badOffset, content.badByte, {}};
    TableLoad load;
    load.status = parseThingyTable(content.text, table, overflow, &load.unusable);
    return load;
}

LoadStatus parseThingyTable(std::string_view data, ThingyTable& table, TableOverflow overflow,
                            std::vector<UnusableLine>* unusable) {
    int next = 1;
    int number = 0;
    for (const std::string_view line : splitTextLines(data)) {
        ++number;
        ThingyEntry entry;
        if (!parseLine(line, entry))
            continue;
        if (unusable && next <= ThingyTable::kCapacity && !strictHexBytes(entry.hexCode))
            unusable->push_back({number, std::string(line)});
        if (next > ThingyTable::kCapacity) {
            if (overflow == TableOverflow::Fail)
                return LoadStatus::Overflow;
        } else {
            table.set(next, std::move(entry));
            ++next;
        }
    }
    return LoadStatus::Loaded;
}

} // namespace tradumar
