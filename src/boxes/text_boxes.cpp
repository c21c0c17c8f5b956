#include "boxes/text_boxes.h"

#include <algorithm>
#include <filesystem>

#include "encoding/unicode_text.h"

namespace tradumar {
namespace {

// A raw block as breaks compare: blanks left out, ASCII letters in upper case.
std::string breakKey(std::string_view block) {
    std::string key;
    for (const char c : block)
        if (c != ' ' && c != '\t')
            key += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return key;
}

// The enclosures and the raw blocks that end a box.
struct BreakNames {
    explicit BreakNames(const TextBoxRules& rules)
        : left(utf8Of(rules.leftEnclosure)), right(utf8Of(rules.rightEnclosure)), end(left + "END" + right) {
        for (const std::string& name : rules.limits.boxBreaks)
            keys.push_back(breakKey(name));
    }
    bool isBreak(std::string_view block) const {
        return block == end || std::find(keys.begin(), keys.end(), breakKey(block)) != keys.end();
    }
    std::string left;
    std::string right;
    std::string end;
    std::vector<std::string> keys;
};

// One box line while the check walks it.
struct Segment {
    int line = 0;
    std::size_t start = 0;
    std::size_t end = 0;
    bool content = false;
};

class BoxWalk {
public:
    BoxWalk(std::string_view text, const TextBoxRules& rules, TextBoxCheck& check)
        : m_text(text), m_rules(rules), m_check(check), m_names(rules), m_left(m_names.left),
          m_right(m_names.right) {}

    void run() {
        int number = 0;
        for (const std::string_view line : splitTextLines(m_text))
            walkLine(line, number++);
        closeBox();
    }

private:
    void startSegment(int line, std::size_t at) {
        m_segment = {line, at, at, false};
        m_measure = 0;
        m_over = false;
    }

    void add(int width, std::size_t at, int column) {
        m_measure += width;
        const int limit = m_rules.limits.lineLength;
        if (limit > 0 && !m_over && m_measure > limit) {
            m_over = true;
            m_excess = {m_segment.line, at, 0, column, 0, 0};
        }
    }

    void endSegment(std::size_t at, int column) {
        m_segment.end = at;
        m_box.push_back(m_segment);
        if (m_over) {
            m_excess.end = at;
            m_excess.endColumn = column;
            m_excess.length = m_measure;
            m_check.lines.push_back(m_excess);
        }
    }

    void closeBox() {
        const int limit = m_rules.limits.boxLines;
        const auto holds = [](const Segment& s) { return s.content; };
        const auto first = std::find_if(m_box.begin(), m_box.end(), holds);
        if (limit > 0 && first != m_box.end()) {
            const auto last = std::find_if(m_box.rbegin(), m_box.rend(), holds).base() - 1;
            const int lines = static_cast<int>(last - first) + 1;
            if (lines > limit) {
                const Segment& extra = first[limit];
                m_check.boxes.push_back({first->line, lines, extra.line, extra.start, last->end});
            }
        }
        m_box.clear();
    }

    void walkLine(std::string_view line, int number) {
        const std::size_t base = static_cast<std::size_t>(line.data() - m_text.data());
        const WidthTable* widths = m_rules.widths;
        startSegment(number, base);
        int column = 0;
        for (std::size_t i = 0; i < line.size();) {
            const auto lead = static_cast<unsigned char>(line[i]);
            if (lead < 0x80 && lead != static_cast<unsigned char>(m_left.front())) {
                add(widths ? widths->widthOf(lead) : 1, base + i, column);
                m_segment.content = true;
                ++i;
                ++column;
                continue;
            }
            if (line.compare(i, m_left.size(), m_left) == 0) {
                // The search starts at the left enclosure itself, as "Largo de línea" does.
                const std::size_t close = line.find(m_right, i);
                if (close == std::string_view::npos) {
                    i += m_left.size();
                    ++column;
                    continue;
                }
                const std::size_t after = close + m_right.size();
                const std::string_view block = line.substr(i, after - i);
                const int characters = static_cast<int>(characterCount(block));
                if (m_names.isBreak(block)) {
                    endSegment(base + i, column);
                    closeBox();
                    startSegment(number, base + after);
                } else if (widths) {
                    const int width = widths->widthOfBlock(block);
                    add(width, base + i, column);
                    m_segment.content = m_segment.content || width > 0;
                }
                column += characters;
                i = after;
                continue;
            }
            const auto decoded = decodeUtf8At(line, i);
            const char32_t c = decoded ? decoded->first : U'\uFFFD';
            add(widths ? widths->widthOf(c) : 1, base + i, column);
            m_segment.content = true;
            i += decoded ? decoded->second : 1;
            ++column;
        }
        endSegment(base + line.size(), column);
    }

    std::string_view m_text;
    const TextBoxRules& m_rules;
    TextBoxCheck& m_check;
    BreakNames m_names;
    const std::string& m_left;
    const std::string& m_right;
    std::vector<Segment> m_box;
    Segment m_segment;
    int m_measure = 0;
    bool m_over = false;
    LineExcess m_excess;
};

} // namespace

std::string formatBoxBreaks(const std::vector<std::string>& breaks) {
    std::string text;
    for (const std::string& name : breaks)
        text += (text.empty() ? "" : ",") + name;
    return text;
}

std::vector<std::string> parseBoxBreaks(std::string_view text) {
    std::vector<std::string> breaks;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view name = trimmedBlanks(text.substr(0, comma));
        if (!name.empty())
            breaks.emplace_back(name);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return breaks;
}

std::string pathBesideProject(const std::string& projectFilePath, const std::string& path) {
    const std::filesystem::path given(path);
    if (path.empty() || given.is_absolute())
        return path;
    return (std::filesystem::path(projectFilePath).parent_path() / given).string();
}

TextBoxCheck checkTextBoxes(std::string_view text, const TextBoxRules& rules) {
    TextBoxCheck check;
    if (rules.limits.active())
        BoxWalk(text, rules, check).run();
    return check;
}

bool holdsBoxBreak(std::string_view line, const TextBoxRules& rules) {
    const BreakNames names(rules);
    // Blocks are read as the check reads them: from a left enclosure to the
    // next right one; past a left enclosure never closed no block closes.
    for (std::size_t at = line.find(names.left); at != std::string_view::npos;) {
        const std::size_t close = line.find(names.right, at);
        if (close == std::string_view::npos)
            return false;
        const std::size_t after = close + names.right.size();
        if (names.isBreak(line.substr(at, after - at)))
            return true;
        at = line.find(names.left, after);
    }
    return false;
}

TextBoxCounts countTextBoxExcess(std::string_view text, const TextBoxRules& rules) {
    const TextBoxCheck check = checkTextBoxes(text, rules);
    return {static_cast<int>(check.lines.size()), static_cast<int>(check.boxes.size())};
}

std::string textBoxCountsText(TextBoxCounts counts) {
    if (counts.fits())
        return {};
    const auto part = [](int n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    std::string text;
    if (counts.longLines > 0)
        text = part(counts.longLines, "línea", "líneas");
    if (counts.longBoxes > 0)
        text += (text.empty() ? "" : " y ") + part(counts.longBoxes, "caja", "cajas");
    const bool plural = counts.longLines + counts.longBoxes > 1;
    return text + (plural ? " exceden" : " excede") + " el límite de las cajas de texto";
}

std::string lineExcessText(const LineExcess& excess, const TextBoxRules& rules) {
    return "Esta línea mide " + std::to_string(excess.length) +
           (rules.widths != nullptr ? " píxeles" : " caracteres") + "; el límite es " +
           std::to_string(rules.limits.lineLength) + ".";
}

std::string boxExcessText(const BoxExcess& excess, const TextBoxRules& rules) {
    return "Esta caja tiene " + std::to_string(excess.lines) + " líneas; el límite es " +
           std::to_string(rules.limits.boxLines) + ".";
}

std::string textBoxScriptsText(int scripts) {
    if (scripts <= 0)
        return {};
    return std::to_string(scripts) + (scripts == 1 ? " no cabe" : " no caben") + " en sus cajas de texto";
}

std::string boxesSummaryText(int scripts) {
    if (scripts <= 0)
        return {};
    return std::to_string(scripts) + (scripts == 1 ? " script no cabe" : " scripts no caben") +
           " en sus cajas de texto; eso no impide " + (scripts == 1 ? "insertarlo" : "insertarlos");
}

} // namespace tradumar
