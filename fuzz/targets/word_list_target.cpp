// Fuzzes the reader and writer of the project's word list and the word
// splitter that feeds the spell checker.
//
// The word list read from any bytes (UTF-8, or the legacy code page the first
// byte's lowest bit chooses) holds non-empty words without line breaks or
// surrounding blanks, each once, and survives being written and read again
// unchanged. The splitter's words lie inside the line, in order, without
// overlapping, are well-formed UTF-8, start with a letter, end with a letter
// or a combining mark, never reach into a raw block, and are found whole at
// their place. A violation aborts.

#include "../fuzz_targets.h"
#include "../fuzz_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include <unicode/uchar.h>

#include "encoding/text_file.h"
#include "spellcheck/project_words.h"
#include "spellcheck/word_splitter.h"

namespace {

using namespace tradumar;

void check(bool condition, const char* what) {
    tradumar::fuzz::require(condition, "word list", what);
}

// The character at a byte offset and its length; a byte that is not
// well-formed UTF-8 stands for itself.
std::pair<char32_t, std::size_t> characterAtOffset(std::string_view bytes, std::size_t at) {
    if (const auto decoded = decodeUtf8At(bytes, at))
        return *decoded;
    return {static_cast<unsigned char>(bytes[at]), 1};
}

void checkWordList(std::string_view input) {
    const LegacyCodePage legacy =
        !input.empty() && (input[0] & 1) ? LegacyCodePage::ShiftJis : LegacyCodePage::Windows1252;
    const DecodedText read = decodeTextFile(input, legacy);
    if (read.status != TextFileStatus::Read)
        return;
    const std::vector<std::string> words = parseWordList(read.text);
    std::set<std::string> seen;
    for (const std::string& word : words) {
        check(!word.empty(), "an empty word");
        check(word.find_first_of("\r\n") == std::string::npos, "a line break inside a word");
        check(word.front() != ' ' && word.back() != ' ' && word.front() != '\t' && word.back() != '\t',
              "blanks around a word");
        check(seen.insert(word).second, "a word listed twice");
    }
    const DecodedText again = decodeTextFile(textFileBytes(formatWordList(words), legacy), legacy);
    check(again.status == TextFileStatus::Read && parseWordList(again.text) == words,
          "the list does not read back");
}

void checkSplitter(std::string_view input) {
    // The first two characters choose the enclosures; the rest is the line.
    const auto [left, leftLength] = characterAtOffset(input, 0);
    if (leftLength >= input.size())
        return;
    const auto [right, rightLength] = characterAtOffset(input, leftLength);
    const Enclosures enclosures{left, right};
    const std::string_view line = input.substr(leftLength + rightLength);
    std::size_t end = 0;
    for (const WordSpan& span : splitWords(line, enclosures)) {
        check(span.length > 0 && span.start >= end && span.start + span.length <= line.size(),
              "a word outside the line or overlapping another");
        const std::string_view word = line.substr(span.start, span.length);
        check(!firstInvalidUtf8(word), "a word that is not well-formed UTF-8");
        check(isLetter(characterAt(word, 0)), "a word that does not start with a letter");
        char32_t last = 0;
        for (std::size_t k = 0; k < word.size();) {
            const auto [c, length] = characterAtOffset(word, k);
            check(c != enclosures.left, "a word reaching into a raw block");
            last = c;
            k += length;
        }
        check(isLetter(last) || (U_GET_GC_MASK(static_cast<UChar32>(last)) & U_GC_M_MASK) != 0,
              "a word that does not end with a letter or a mark");
        const std::vector<std::size_t> whole = wholeWordOccurrences(line, word, enclosures);
        check(std::find(whole.begin(), whole.end(), span.start) != whole.end(), "a word not found whole");
        end = span.start + span.length;
    }
}

} // namespace

int fuzzWordList(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    checkWordList(input);
    if (!input.empty())
        checkSplitter(input);
    return 0;
}
