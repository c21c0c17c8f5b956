#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tradumar {

class ProjectWords;
class Speller;

// A word of a line of UTF-8 text: the byte offset where it starts and how
// many bytes it takes (not characters: a caller showing it elsewhere maps
// the offsets, e.g. with qtOffsetOf for a QString).
struct WordSpan {
    std::size_t start = 0;
    std::size_t length = 0;
    bool operator==(const WordSpan&) const = default;
};

// The two characters that close a raw block in, as the project sets them.
struct Enclosures {
    char32_t left = U'<';
    char32_t right = U'>';
};

// True for a letter of any script: a character with Unicode's Alphabetic
// property (A to Z, á, ñ, ł, α, ж, あ, 漢...).
bool isLetter(char32_t c);

// The words of one line of UTF-8 text: runs of letters (with the combining
// marks that follow them), joined by a hyphen, an apostrophe or a
// typographic apostrophe (U+2019) standing between two letters. A run that
// touches a digit of any script is a number, not a word. A raw block (from
// a left enclosure to the next right one on the line) is never a word, nor
// part of one. Bytes that are not well-formed UTF-8 are never letters.
std::vector<WordSpan> splitWords(std::string_view line, Enclosures enclosures);

// The misspelled words of a text (lines split at CR LF, CR or LF), each once,
// in the order of their first occurrence; the project's own words never are.
std::vector<std::string> findMisspellings(std::string_view text, Enclosures enclosures, Speller& speller,
                                          const ProjectWords& projectWords);

// The byte offsets in a UTF-8 line where the word stands whole (its
// neighbouring characters are neither letters nor digits), compared
// case-sensitively, outside raw blocks.
std::vector<std::size_t> wholeWordOccurrences(std::string_view line, std::string_view word,
                                              Enclosures enclosures);

} // namespace tradumar
