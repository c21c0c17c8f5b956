// Fuzzes the glossary reader and the term search.
//
// Any bytes (UTF-8, or the legacy code page the first byte's lowest bit
// chooses) give pairs whose original terms are non-empty, trimmed, free of
// "=" and line breaks, each once, and which read back unchanged once written.
// Searching the same text for them finds each hit inside it, in order of its
// first occurrence; a term is always found in its own original, and its
// agreed translation in a text made of it alone. A violation aborts.

#include "../fuzz_targets.h"
#include "../fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <set>

#include "encoding/text_file.h"
#include "glossary/glossary.h"

namespace {

using namespace tradumar;

void check(bool condition, const char* what) {
    tradumar::fuzz::require(condition, "glossary", what);
}

} // namespace

int fuzzGlossary(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::optional<std::string> decoded = tradumar::fuzz::asTextFile(input);
    if (!decoded)
        return 0;
    const GlossaryParse parse = parseGlossary(*decoded);
    std::set<std::string> originals;
    for (const GlossaryPair& pair : parse.pairs) {
        const std::string& o = pair.original;
        check(!o.empty() && o.find_first_of("=\r\n") == std::string::npos, "an original term that cannot be");
        check(o.front() != ' ' && o.back() != ' ' && o.front() != '\t' && o.back() != '\t',
              "blanks around a term");
        check(pair.translation.find_first_of("\r\n") == std::string::npos, "a line break in a translation");
        check(originals.insert(o).second, "a term listed twice");
    }
    check(parseGlossary(formatGlossary(parse.pairs)).pairs == parse.pairs, "the glossary does not read back");

    const TermEnclosures enclosures{U'<', U'>'};
    std::vector<GlossaryHit> hits = findGlossaryTerms(parse.pairs, *decoded, enclosures);
    for (std::size_t i = 0; i < hits.size(); ++i)
        check(hits[i].pair < parse.pairs.size() && hits[i].occurrences > 0 &&
                  hits[i].firstAt < decoded->size() && (i == 0 || hits[i - 1].firstAt <= hits[i].firstAt),
              "a hit outside the text or out of order");
    for (std::size_t p = 0; p < parse.pairs.size() && p < 8; ++p) {
        const GlossaryPair& pair = parse.pairs[p];
        if (pair.original.find_first_of("<>") != std::string::npos ||
            pair.translation.find_first_of("<>") != std::string::npos)
            continue;
        std::vector<GlossaryHit> own = findGlossaryTerms({pair}, pair.original, enclosures);
        check(own.size() == 1 && own[0].firstAt == 0, "a term not found in itself");
        flagMissingTranslations(own, {pair}, pair.translation, enclosures);
        check(!own[0].missing, "an agreed translation missing from itself");
    }
    return 0;
}
