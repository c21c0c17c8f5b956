#include "glossary/glossary.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <unordered_set>

#include <unicode/uchar.h>
#include <unicode/uscript.h>

#include "common/file_io.h"
#include "encoding/unicode_text.h"

namespace tradumar {
namespace {

bool isComment(std::string_view line) {
    const std::string_view text = trimmedBlanks(line);
    return text.empty() || text.front() == '#';
}

// The pair a line holds, or nothing.
std::optional<GlossaryPair> pairIn(std::string_view line) {
    const std::size_t sign = line.find('=');
    if (sign == std::string_view::npos)
        return std::nullopt;
    const std::string_view original = trimmedBlanks(line.substr(0, sign));
    if (original.empty())
        return std::nullopt;
    return GlossaryPair{std::string(original), std::string(trimmedBlanks(line.substr(sign + 1)))};
}

// A character that joins its neighbours into one word. Scripts written
// without spaces between words never do, so their terms match anywhere.
bool joinsWords(char32_t c) {
    const UChar32 u = static_cast<UChar32>(c);
    if (!u_hasBinaryProperty(u, UCHAR_ALPHABETIC) && !u_isdigit(u))
        return false;
    if (u_hasBinaryProperty(u, UCHAR_IDEOGRAPHIC) || c == U'\u30FC')
        return false;
    UErrorCode status = U_ZERO_ERROR;
    switch (uscript_getScript(u, &status)) {
    case USCRIPT_HAN:
    case USCRIPT_HIRAGANA:
    case USCRIPT_KATAKANA:
    case USCRIPT_THAI:
    case USCRIPT_LAO:
    case USCRIPT_KHMER:
    case USCRIPT_MYANMAR:
        return false;
    default:
        return true;
    }
}

// A text with its letters case-folded, one code point each, with the byte
// offset each starts at and whether it lies inside a raw block.
struct FoldedText {
    std::u32string characters;
    std::vector<std::size_t> offsets;
    std::vector<bool> inBlock;
};

std::u32string folded(std::string_view utf8) {
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto decoded = decodeUtf8At(utf8, i);
        out +=
            decoded
                ? static_cast<char32_t>(u_foldCase(static_cast<UChar32>(decoded->first), U_FOLD_CASE_DEFAULT))
                : U'\uFFFD';
        i += decoded ? decoded->second : 1;
    }
    return out;
}

FoldedText foldText(std::string_view utf8, TermEnclosures enclosures) {
    FoldedText text;
    text.characters.reserve(utf8.size());
    text.offsets.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        if (const auto byte = static_cast<unsigned char>(utf8[i]); byte < 0x80) {
            text.characters += static_cast<char32_t>(byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte);
            text.offsets.push_back(i++);
            continue;
        }
        const auto decoded = decodeUtf8At(utf8, i);
        const char32_t c = decoded ? decoded->first : U'\uFFFD';
        text.characters += static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
        text.offsets.push_back(i);
        i += decoded ? decoded->second : 1;
    }
    // A raw block runs from a left enclosure to the next right one on its line.
    text.inBlock.assign(text.characters.size(), false);
    const std::u32string& chars = text.characters;
    for (std::size_t k = 0; k < chars.size(); ++k) {
        if (chars[k] != enclosures.left)
            continue;
        std::size_t close = k;
        while (close < chars.size() && chars[close] != enclosures.right && chars[close] != U'\r' &&
               chars[close] != U'\n')
            ++close;
        if (close == chars.size() || chars[close] != enclosures.right)
            continue;
        for (std::size_t j = k; j <= close; ++j)
            text.inBlock[j] = true;
        k = close;
    }
    return text;
}

// The character positions where the term stands whole, outside raw blocks.
template <typename Visit>
void forEachOccurrence(const FoldedText& text, std::u32string_view term, Visit visit) {
    if (term.empty())
        return;
    const std::u32string_view chars = text.characters;
    for (std::size_t at = chars.find(term); at != std::u32string_view::npos; at = chars.find(term, at + 1)) {
        const std::size_t end = at + term.size();
        bool blocked = false;
        for (std::size_t k = at; k < end && !blocked; ++k)
            blocked = text.inBlock[k];
        if (blocked || (at > 0 && joinsWords(chars[at - 1]) && joinsWords(term.front())) ||
            (end < chars.size() && joinsWords(chars[end]) && joinsWords(term.back())))
            continue;
        if (!visit(at))
            return;
    }
}

bool occursIn(const FoldedText& text, std::u32string_view term) {
    bool found = false;
    forEachOccurrence(text, term, [&](std::size_t) {
        found = true;
        return false;
    });
    return found;
}

} // namespace

std::string glossaryPathFor(const std::string& projectFilePath) {
    if (projectFilePath.empty())
        return {};
    const std::size_t slash = projectFilePath.find_last_of("/\\");
    const std::size_t dot = projectFilePath.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return projectFilePath.substr(0, hasExtension ? dot : projectFilePath.size()) + ".glosario.txt";
}

GlossaryParse parseGlossary(std::string_view text) {
    GlossaryParse parse;
    std::unordered_set<std::string> known;
    int number = 0;
    for (const std::string_view line : splitTextLines(text)) {
        ++number;
        if (isComment(line))
            continue;
        std::optional<GlossaryPair> pair = pairIn(line);
        if (!pair)
            parse.badLines.push_back(number);
        else if (known.insert(pair->original).second)
            parse.pairs.push_back(std::move(*pair));
    }
    return parse;
}

std::string formatGlossary(const std::vector<GlossaryPair>& pairs) {
    std::string text;
    for (const GlossaryPair& pair : pairs)
        text += pair.original + "=" + pair.translation + "\r\n";
    return text;
}

TextFileStatus Glossary::load(const std::string& projectFilePath) {
    m_path = glossaryPathFor(projectFilePath);
    m_pairs.clear();
    m_badLines.clear();
    m_unwritable = false;
    if (m_path.empty() || !pathExists(m_path))
        return TextFileStatus::Read;
    const DecodedText read = readTextFile(m_path, LegacyCodePage::Windows1252);
    m_unwritable = read.status != TextFileStatus::Read;
    if (m_unwritable)
        return read.status;
    GlossaryParse parse = parseGlossary(read.text);
    m_pairs = std::move(parse.pairs);
    m_badLines = std::move(parse.badLines);
    return TextFileStatus::Read;
}

int Glossary::add(std::string_view original, std::string_view translation) {
    const std::string term = toNfc(trimmedBlanks(original));
    const std::string agreed = toNfc(trimmedBlanks(translation));
    if (m_path.empty() || term.empty() || term.find_first_of("=\r\n") != std::string::npos ||
        agreed.find_first_of("\r\n") != std::string::npos || firstInvalidUtf8(term) ||
        firstInvalidUtf8(agreed))
        return EINVAL;
    if (m_unwritable)
        return EILSEQ;
    std::vector<std::string> lines;
    if (pathExists(m_path)) {
        const DecodedText read = readTextFile(m_path, LegacyCodePage::Windows1252);
        if (read.status != TextFileStatus::Read)
            return read.status == TextFileStatus::Undecodable ? EILSEQ : EIO;
        for (const std::string_view line : splitTextLines(read.text))
            lines.emplace_back(line);
    }
    const std::string entry = term + "=" + agreed;
    bool replaced = false;
    for (std::string& line : lines) {
        if (isComment(line))
            continue;
        if (const std::optional<GlossaryPair> pair = pairIn(line); pair && pair->original == term) {
            line = entry;
            replaced = true;
            break;
        }
    }
    if (!replaced)
        lines.push_back(entry);
    std::string content;
    for (const std::string& line : lines)
        content += line + "\r\n";
    return writeWhole(content);
}

int Glossary::writeWhole(const std::string& content) {
    if (const int error = writeFileAtomically(m_path, content); error != 0)
        return error;
    GlossaryParse parse = parseGlossary(content);
    m_pairs = std::move(parse.pairs);
    m_badLines = std::move(parse.badLines);
    return 0;
}

int Glossary::save(const std::vector<GlossaryPair>& pairs) {
    if (m_path.empty())
        return EINVAL;
    if (m_unwritable)
        return EILSEQ;
    return writeWhole(formatGlossary(pairs));
}

std::vector<GlossaryHit> findGlossaryTerms(const std::vector<GlossaryPair>& pairs, std::string_view original,
                                           TermEnclosures enclosures) {
    const FoldedText text = foldText(original, enclosures);
    std::vector<GlossaryHit> hits;
    for (std::size_t p = 0; p < pairs.size(); ++p) {
        GlossaryHit hit;
        hit.pair = p;
        forEachOccurrence(text, folded(pairs[p].original), [&](std::size_t at) {
            if (hit.occurrences++ == 0)
                hit.firstAt = text.offsets[at];
            return true;
        });
        if (hit.occurrences > 0)
            hits.push_back(hit);
    }
    std::stable_sort(hits.begin(), hits.end(),
                     [](const GlossaryHit& a, const GlossaryHit& b) { return a.firstAt < b.firstAt; });
    return hits;
}

void flagMissingTranslations(std::vector<GlossaryHit>& hits, const std::vector<GlossaryPair>& pairs,
                             std::string_view translation, TermEnclosures enclosures) {
    const FoldedText text = foldText(translation, enclosures);
    for (GlossaryHit& hit : hits) {
        const std::u32string agreed = hit.pair < pairs.size() ? folded(pairs[hit.pair].translation) : U"";
        hit.missing = !agreed.empty() && !occursIn(text, agreed);
    }
}

} // namespace tradumar
