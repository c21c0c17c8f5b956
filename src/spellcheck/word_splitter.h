#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tradumar {

class ProjectWords;
class Speller;

// A word of a line: where it starts and how many bytes it takes.
struct WordSpan {
    std::size_t start = 0;
    std::size_t length = 0;
    bool operator==(const WordSpan&) const = default;
};

// The two characters that close a raw block in, as the project sets them.
struct Enclosures {
    char left = '<';
    char right = '>';
};

// True for a Windows-1252 letter: A to Z, the accented letters, ñ, ü and
// the other letters of the code page.
bool isLetter(char c);

// The words of one line of Windows-1252 text: runs of letters, joined by a
// hyphen or an apostrophe standing between two letters. A run that touches
// a digit is a number, not a word. A raw block (from a left enclosure to
// the next right one on the line) is never a word, nor part of one.
std::vector<WordSpan> splitWords(std::string_view line, Enclosures enclosures);

// The misspelled words of a text (lines split at CR LF, CR or LF), each once,
// in the order of their first occurrence; the project's own words never are.
std::vector<std::string> findMisspellings(std::string_view text, Enclosures enclosures, Speller& speller,
                                          const ProjectWords& projectWords);

// The positions in a line where the word stands whole (its neighbours are
// not letters), compared case-sensitively, outside raw blocks.
std::vector<std::size_t> wholeWordOccurrences(std::string_view line, std::string_view word,
                                              Enclosures enclosures);

} // namespace tradumar
