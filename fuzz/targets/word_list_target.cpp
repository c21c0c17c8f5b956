// Fuzzes the reader of the project's word list and the word splitter that
// feeds the spell checker.
//
// The word list read from any bytes holds non-empty words without line
// breaks or surrounding blanks, each once, and survives being written and
// read again unchanged. The splitter's words lie inside the line, in order,
// without overlapping, start and end with a letter and never reach into a
// raw block. A violation aborts.

#include "../fuzz_targets.h"

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "spellcheck/project_words.h"
#include "spellcheck/word_splitter.h"

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "word list invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace

int fuzzWordList(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const std::vector<std::string> words = tradumar::parseWordList(input);
    std::set<std::string> seen;
    for (const std::string& word : words) {
        check(!word.empty(), "an empty word");
        check(word.find_first_of("\r\n") == std::string::npos, "a line break inside a word");
        check(word.front() != ' ' && word.back() != ' ' && word.front() != '\t' && word.back() != '\t',
              "blanks around a word");
        check(seen.insert(word).second, "a word listed twice");
    }
    check(tradumar::parseWordList(tradumar::formatWordList(words)) == words, "the list does not read back");

    // The first two bytes choose the enclosures; the rest is the line.
    if (size >= 2) {
        const tradumar::Enclosures enclosures{input[0], input[1]};
        const std::string_view line = input.substr(2);
        std::size_t end = 0;
        for (const tradumar::WordSpan& span : tradumar::splitWords(line, enclosures)) {
            check(span.length > 0 && span.start >= end && span.start + span.length <= line.size(),
                  "a word outside the line or overlapping another");
            check(tradumar::isLetter(line[span.start]) &&
                      tradumar::isLetter(line[span.start + span.length - 1]),
                  "a word that does not start and end with a letter");
            for (std::size_t k = span.start; k < span.start + span.length; ++k)
                check(line[k] != enclosures.left, "a word reaching into a raw block");
            end = span.start + span.length;
        }
    }
    return 0;
}
