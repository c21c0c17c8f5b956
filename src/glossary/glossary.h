#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "encoding/text_file.h"

namespace tradumar {

// A term of the game and the translation the team agreed for it (names of
// characters, places, items).
struct GlossaryPair {
    std::string original;
    std::string translation;
    bool operator==(const GlossaryPair&) const = default;
};

// The glossary file, "<project file stem>.glosario.txt" beside the project
// file: UTF-8 text, one pair a line, "original=traducción" (the first "="
// separates them, so an original term cannot hold one; blanks around each
// side are dropped). Lines starting with "#" and blank lines are comments;
// other lines without "=" or with nothing before it are skipped. The first
// pair of an original term wins. Written as UTF-8 without a byte-order mark,
// lines ended by CR LF.
std::string glossaryPathFor(const std::string& projectFilePath);

struct GlossaryParse {
    std::vector<GlossaryPair> pairs; // in file order, each original once
    std::vector<int> badLines;       // 1-based lines that are not pairs
};
GlossaryParse parseGlossary(std::string_view text);

// The text of a list of pairs, one "original=traducción" a line, CR LF ends.
std::string formatGlossary(const std::vector<GlossaryPair>& pairs);

class Glossary {
public:
    // Reads the glossary of this project file. A missing file is an empty
    // glossary; one that cannot be read or decoded too, and it is then kept
    // as it is (add and save refuse to write over it). The status says which.
    TextFileStatus load(const std::string& projectFilePath);

    const std::vector<GlossaryPair>& pairs() const { return m_pairs; }
    const std::string& path() const { return m_path; }
    const std::vector<int>& badLines() const { return m_badLines; }

    // Adds a pair (texts in UTF-8, taken to NFC and trimmed of blanks): a new
    // original term is a new line at the end of the file; a known one gets the
    // new translation in its own line. The file is read again first, so lines
    // another copy of the program wrote meanwhile, comments included, stay.
    // 0 on success, otherwise an errno and nothing changes: EINVAL without a
    // project, an empty original, or an original holding "=" or a line break;
    // EILSEQ over a file that did not decode; the write's own error.
    int add(std::string_view original, std::string_view translation);

    // Writes these pairs as the whole glossary (comments are not kept).
    int save(const std::vector<GlossaryPair>& pairs);

private:
    // Writes the file atomically and takes its pairs as the glossary.
    int writeWhole(const std::string& content);

    std::string m_path;
    bool m_unwritable = false;
    std::vector<GlossaryPair> m_pairs;
    std::vector<int> m_badLines;
};

// The two characters that close a raw block in, for term matching.
struct TermEnclosures {
    char32_t left = U'<';
    char32_t right = U'>';
};

// A term of the glossary found in a script's original text.
struct GlossaryHit {
    std::size_t pair = 0;    // index in the glossary's pairs
    std::size_t firstAt = 0; // byte offset of its first occurrence in the original
    int occurrences = 0;
    bool missing = false; // the translation lacks the agreed translation
    bool operator==(const GlossaryHit&) const = default;
};

// The terms of the glossary found in an original text, in order of their
// first occurrence. A term matches regardless of letter case, never inside a
// raw block, and whole: not next to a letter or digit of a script written
// with spaces (terms in Chinese or Japanese match anywhere).
std::vector<GlossaryHit> findGlossaryTerms(const std::vector<GlossaryPair>& pairs, std::string_view original,
                                           TermEnclosures enclosures);

// Sets `missing` on each hit whose agreed translation (when it has one) does
// not occur in the translation by the same rule.
void flagMissingTranslations(std::vector<GlossaryHit>& hits, const std::vector<GlossaryPair>& pairs,
                             std::string_view translation, TermEnclosures enclosures);

} // namespace tradumar
