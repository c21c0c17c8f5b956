#include "spellcheck/word_splitter.h"

#include <unordered_set>

#include <unicode/uchar.h>

#include "encoding/unicode_text.h"
#include "spellcheck/project_words.h"
#include "spellcheck/speller.h"

namespace tradumar {
namespace {

enum class Kind : unsigned char { Other, Letter, Digit, Joiner };

// One character of a line: where its bytes are, what it is to a word, and
// whether it lies in a raw block.
struct Character {
    std::size_t offset = 0;
    std::size_t length = 0;
    Kind kind = Kind::Other;
    bool raw = false;
};

bool isCombiningMark(char32_t c) {
    return (U_GET_GC_MASK(static_cast<UChar32>(c)) & U_GC_M_MASK) != 0;
}

bool isDigit(char32_t c) {
    if (c < 0x80)
        return c >= '0' && c <= '9';
    return u_isdigit(static_cast<UChar32>(c)) != 0;
}

bool isJoiner(char32_t c) {
    return c == U'-' || c == U'\'' || c == U'\u2019'; // hyphen, apostrophe, typographic apostrophe
}

Kind kindOf(char32_t c) {
    if (isLetter(c))
        return Kind::Letter;
    if (isDigit(c))
        return Kind::Digit;
    return isJoiner(c) ? Kind::Joiner : Kind::Other;
}

// The characters of a line. A byte that is not well-formed UTF-8 is a
// character of its own that no word holds. A raw block runs from a left
// enclosure to the next right one, both included; the search for the right
// one starts at the left one itself, so equal enclosures make one-character
// blocks, and a left enclosure that no right one follows is a block of its
// own. A combining mark outside raw blocks belongs to the letter or digit
// before it, when that one is outside them too.
std::vector<Character> charactersOf(std::string_view line, Enclosures enclosures) {
    std::vector<Character> characters;
    characters.reserve(line.size());
    std::vector<char32_t> values;
    values.reserve(line.size());
    for (std::size_t at = 0; at < line.size();) {
        const auto decoded = decodeUtf8At(line, at);
        const std::size_t length = decoded ? decoded->second : 1;
        const char32_t c = decoded ? decoded->first : char32_t{0xFFFD};
        characters.push_back({at, length, decoded ? kindOf(c) : Kind::Other, false});
        values.push_back(c);
        at += length;
    }
    for (std::size_t i = 0; i < characters.size(); ++i) {
        if (values[i] != enclosures.left)
            continue;
        std::size_t close = i;
        while (close < characters.size() && values[close] != enclosures.right)
            ++close;
        if (close == characters.size())
            close = i;
        for (std::size_t k = i; k <= close; ++k)
            characters[k].raw = true;
        i = close;
    }
    for (std::size_t i = 1; i < characters.size(); ++i) {
        Character& mark = characters[i];
        const Character& before = characters[i - 1];
        if (mark.kind == Kind::Other && !mark.raw && !before.raw && values[i] >= 0x300 &&
            (before.kind == Kind::Letter || before.kind == Kind::Digit) && isCombiningMark(values[i]))
            mark.kind = before.kind;
    }
    return characters;
}

} // namespace

bool isLetter(char32_t c) {
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    return u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_ALPHABETIC) != 0;
}

std::vector<WordSpan> splitWords(std::string_view line, Enclosures enclosures) {
    const std::vector<Character> characters = charactersOf(line, enclosures);
    const auto is = [&](std::size_t i, Kind kind) {
        return i < characters.size() && !characters[i].raw && characters[i].kind == kind;
    };
    const auto alnumAt = [&](std::size_t i) { return is(i, Kind::Letter) || is(i, Kind::Digit); };

    std::vector<WordSpan> words;
    std::size_t i = 0;
    while (i < characters.size()) {
        // A word starts with a letter or digit; a mark alone starts nothing.
        if (!alnumAt(i)) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        bool number = false;
        while (true) {
            while (alnumAt(i)) {
                number = number || characters[i].kind == Kind::Digit;
                ++i;
            }
            // A joiner joins only when letters stand on both sides.
            if (is(i, Kind::Joiner) && is(i - 1, Kind::Letter) && is(i + 1, Kind::Letter)) {
                ++i;
                continue;
            }
            break;
        }
        if (!number) {
            const std::size_t begin = characters[start].offset;
            const std::size_t end = characters[i - 1].offset + characters[i - 1].length;
            words.push_back({begin, end - begin});
        }
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
    const std::vector<Character> characters = charactersOf(line, enclosures);
    // The character each byte belongs to; one past the end for the line's end.
    std::vector<std::size_t> characterOf(line.size() + 1, characters.size());
    for (std::size_t c = 0; c < characters.size(); ++c)
        for (std::size_t k = 0; k < characters[c].length; ++k)
            characterOf[characters[c].offset + k] = c;
    const auto startsCharacter = [&](std::size_t at) {
        return at == line.size() || characters[characterOf[at]].offset == at;
    };
    const auto joins = [&](std::size_t c) {
        return !characters[c].raw &&
               (characters[c].kind == Kind::Letter || characters[c].kind == Kind::Digit);
    };
    for (std::size_t p = line.find(word); p != std::string_view::npos; p = line.find(word, p + 1)) {
        const std::size_t end = p + word.size();
        if (!startsCharacter(p) || !startsCharacter(end))
            continue;
        const std::size_t first = characterOf[p];
        const std::size_t last = characterOf[end]; // one past the word's last character
        bool inRaw = false;
        for (std::size_t c = first; c < last && !inRaw; ++c)
            inRaw = characters[c].raw;
        if (inRaw || (first > 0 && joins(first - 1)) || (last < characters.size() && joins(last)))
            continue;
        found.push_back(p);
        p = end - 1;
    }
    return found;
}

} // namespace tradumar
