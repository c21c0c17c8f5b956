#include "spellcheck/word_splitter.h"

#include <unordered_set>

#include "spellcheck/project_words.h"
#include "spellcheck/speller.h"

namespace tradumar {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isJoiner(char c) {
    return c == '-' || c == '\'' || c == '\x92'; // hyphen, apostrophe, typographic apostrophe
}

// One flag per byte of the line: true inside a raw block, both enclosures
// included. A left enclosure that no right one follows is a block of its own.
std::vector<bool> rawMask(std::string_view line, Enclosures enclosures) {
    std::vector<bool> raw(line.size(), false);
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != enclosures.left)
            continue;
        // The search starts at the left enclosure itself, so equal
        // enclosures make one-character blocks.
        std::size_t close = line.find(enclosures.right, i);
        if (close == std::string_view::npos)
            close = i;
        for (std::size_t k = i; k <= close; ++k)
            raw[k] = true;
        i = close;
    }
    return raw;
}

} // namespace

bool isLetter(char c) {
    const auto b = static_cast<unsigned char>(c);
    if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'))
        return true;
    if (b >= 0xC0)
        return b != 0xD7 && b != 0xF7; // × and ÷
    // Š Œ Ž š œ ž Ÿ
    return b == 0x8A || b == 0x8C || b == 0x8E || b == 0x9A || b == 0x9C || b == 0x9E || b == 0x9F;
}

std::vector<WordSpan> splitWords(std::string_view line, Enclosures enclosures) {
    const std::vector<bool> raw = rawMask(line, enclosures);
    const auto letterAt = [&](std::size_t i) { return i < line.size() && !raw[i] && isLetter(line[i]); };
    const auto alnumAt = [&](std::size_t i) {
        return letterAt(i) || (i < line.size() && !raw[i] && isDigit(line[i]));
    };

    std::vector<WordSpan> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (!alnumAt(i)) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        bool number = false;
        while (true) {
            while (alnumAt(i)) {
                number = number || isDigit(line[i]);
                ++i;
            }
            // A hyphen or apostrophe joins only when letters stand on both sides.
            if (i < line.size() && !raw[i] && isJoiner(line[i]) && letterAt(i - 1) && letterAt(i + 1)) {
                ++i;
                continue;
            }
            break;
        }
        if (!number)
            words.push_back({start, i - start});
    }
    return words;
}

std::vector<std::string> findMisspellings(std::string_view text, Enclosures enclosures, Speller& speller,
                                          const ProjectWords& projectWords) {
    std::vector<std::string> misspelled;
    std::unordered_set<std::string_view> seen;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(begin, end - begin);
        for (const WordSpan& span : splitWords(line, enclosures)) {
            const std::string_view word = line.substr(span.start, span.length);
            if (!seen.insert(word).second || projectWords.contains(word))
                continue;
            if (!speller.check(word))
                misspelled.emplace_back(word);
        }
        if (end == text.size())
            break;
        begin = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return misspelled;
}

std::vector<std::size_t> wholeWordOccurrences(std::string_view line, std::string_view word,
                                              Enclosures enclosures) {
    std::vector<std::size_t> found;
    if (word.empty())
        return found;
    const std::vector<bool> raw = rawMask(line, enclosures);
    const auto joins = [&](std::size_t i) { return !raw[i] && (isLetter(line[i]) || isDigit(line[i])); };
    for (std::size_t p = line.find(word); p != std::string_view::npos; p = line.find(word, p + 1)) {
        const std::size_t end = p + word.size();
        bool inRaw = false;
        for (std::size_t k = p; k < end && !inRaw; ++k)
            inRaw = raw[k];
        if (inRaw || (p > 0 && joins(p - 1)) || (end < line.size() && joins(end)))
            continue;
        found.push_back(p);
        p = end - 1;
    }
    return found;
}

} // namespace tradumar
