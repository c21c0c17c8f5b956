#include "encoding/thingy_table.h"

#include <limits>

#include "common/file_io.h"

namespace tradumar {

std::int32_t ThingyTable::Index::child(std::int32_t node, unsigned char c) const {
    const auto& children = nodes[static_cast<std::size_t>(node)].children;
    auto it = std::lower_bound(children.begin(), children.end(), c,
                               [](const auto& entry, unsigned char key) { return entry.first < key; });
    return it != children.end() && it->first == c ? it->second : -1;
}

namespace {

// The index also remembers the first line and end codes, which are looked
// for among all positions, past the table's end too.
struct CodePositions {
    int line = 0;
    int end = 0;
};

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
    auto index = std::make_unique<Index>();
    index->nodes.emplace_back();
    for (int position = 1; position <= kCapacity; ++position) {
        const std::string& text = m_entries[static_cast<std::size_t>(position - 1)].text;
        if (text.empty())
            break;
        std::int32_t node = 0;
        for (char ch : text) {
            const auto c = static_cast<unsigned char>(ch);
            auto& children = index->nodes[static_cast<std::size_t>(node)].children;
            auto it = std::lower_bound(children.begin(), children.end(), c,
                                       [](const auto& entry, unsigned char key) { return entry.first < key; });
            if (it != children.end() && it->first == c) {
                node = it->second;
            } else {
                const auto created = static_cast<std::int32_t>(index->nodes.size());
                children.insert(it, {c, created});
                index->nodes.emplace_back();
                node = created;
            }
        }
        auto& slot = index->nodes[static_cast<std::size_t>(node)].position;
        if (slot == 0)
            slot = position; // the first entry with a text wins
    }
    m_index = std::move(index);
    return *m_index;
}

int ThingyTable::find(std::string_view text) const {
    if (text.empty())
        return 0;
    const Index& idx = index();
    std::int32_t node = 0;
    for (char ch : text) {
        node = idx.child(node, static_cast<unsigned char>(ch));
        if (node < 0)
            return 0;
    }
    return idx.nodes[static_cast<std::size_t>(node)].position;
}

namespace {

const ThingyEntry* firstWithText(const std::vector<ThingyEntry>& entries, std::string_view text) {
    for (const auto& entry : entries)
        if (entry.text == text)
            return &entry;
    return nullptr;
}

} // namespace

const ThingyEntry* ThingyTable::firstLineCode() const { return firstWithText(m_entries, "LINE"); }
const ThingyEntry* ThingyTable::firstEndCode() const { return firstWithText(m_entries, "END"); }

std::int16_t ThingyTable::longestTextLength(bool withCodes) const {
    std::size_t longest = 1;
    for (const auto& entry : m_entries) {
        if (entry.text.empty())
            break;
        if (!withCodes && (entry.text == "END" || entry.text == "LINE"))
            continue;
        longest = std::max(longest, entry.text.size());
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

LoadStatus loadThingyTable(const std::string& path, ThingyTable& table, TableOverflow overflow) {
    const std::optional<std::string> content = readWholeFile(path);
    if (!content)
        return LoadStatus::Unreadable;

    const std::string_view data = *content;
    int next = 1;
    std::size_t start = 0;
    while (start < data.size()) {
        // A line ends at CR or CR LF; a lone LF belongs to the line.
        std::size_t cr = data.find('\r', start);
        const std::size_t lineEnd = cr == std::string_view::npos ? data.size() : cr;
        std::size_t after = lineEnd;
        if (cr != std::string_view::npos) {
            after = cr + 1;
            if (after < data.size() && data[after] == '\n')
                ++after;
        }
        ThingyEntry entry;
        if (parseLine(data.substr(start, lineEnd - start), entry)) {
            if (next > ThingyTable::kCapacity) {
                if (overflow == TableOverflow::Fail)
                    return LoadStatus::Overflow;
            } else {
                table.set(next, std::move(entry));
                ++next;
            }
        }
        start = after;
    }
    return LoadStatus::Loaded;
}

} // namespace tradumar
