#include "search/script_search.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/uniset.h>
#include <unicode/unorm2.h>

#include "encoding/text_file.h"

namespace tradumar {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool contains(std::string_view text, std::string_view word) {
    return ::memmem(text.data(), text.size(), word.data(), word.size()) != nullptr;
}

// Zero bytes kept after a file's bytes in the buffer, for quickScan.
constexpr std::size_t kPadding = 64;

// Reads a whole file, named relative to an open folder, into the buffer,
// which grows as needed and is kept for the next file, and puts kPadding
// zero bytes after it; the file's length, or nothing when it cannot be read.
std::optional<std::size_t> readInto(int folder, const std::string& name, std::vector<char>& buffer) {
    const int fd = ::openat(folder, name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    const bool sized = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const auto expected = sized ? static_cast<std::size_t>(info.st_size) : std::size_t{0};
    if (buffer.size() < expected + 1 + kPadding)
        buffer.resize(expected + 1 + kPadding);
    std::size_t length = 0;
    // A regular file is read up to the size it had when opened; anything
    // else up to its end.
    while (!sized || length < expected) {
        if (length + kPadding == buffer.size())
            buffer.resize(buffer.size() * 2);
        const ssize_t n = ::read(fd, buffer.data() + length, buffer.size() - kPadding - length);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) { // a folder, or an input/output error
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        length += static_cast<std::size_t>(n);
    }
    ::close(fd);
    std::memset(buffer.data() + length, 0, kPadding);
    return length;
}

// The ASCII characters that a character outside ASCII becomes in NFC (the
// Kelvin sign is K, the Greek question mark ";"). An ASCII word without them
// is, in NFC text, always made of the very ASCII bytes the file holds.
const std::string& asciiTargetsOfNfc() {
    static const std::string targets = [] {
        std::string found;
        UErrorCode status = U_ZERO_ERROR;
        const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
        icu::UnicodeSet changing;
        changing.applyIntPropertyValue(UCHAR_NFC_QUICK_CHECK, UNORM_NO, status);
        if (U_FAILURE(status))
            return std::string(" !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`"
                               "abcdefghijklmnopqrstuvwxyz{|}~"); // no shortcut at all
        for (int32_t r = 0; r < changing.getRangeCount(); ++r)
            for (UChar32 c = changing.getRangeStart(r); c <= changing.getRangeEnd(r); ++c) {
                const icu::UnicodeString normalised = nfc->normalize(icu::UnicodeString(c), status);
                for (int32_t i = 0; U_SUCCESS(status) && i < normalised.length(); ++i)
                    if (const char16_t u = normalised.charAt(i);
                        u < 0x80 && c >= 0x80 && found.find(static_cast<char>(u)) == std::string::npos)
                        found += static_cast<char>(u);
            }
        return found;
    }();
    return targets;
}

// The characters of the Basic Multilingual Plane that leave text in NFC
// whatever stands around them (NFC quick check Yes, combining class 0),
// worked out once from ICU's properties; surrogates are not among them.
class StableCharacters {
public:
    StableCharacters() : m_bits(0x10000 / 64, 0) {
        for (UChar32 c = 0; c < 0x10000; ++c)
            if ((c < 0xD800 || c > 0xDFFF) && u_getIntPropertyValue(c, UCHAR_NFC_QUICK_CHECK) == UNORM_YES &&
                u_getCombiningClass(c) == 0)
                m_bits[static_cast<std::size_t>(c) / 64] |= std::uint64_t{1} << (c % 64);
    }
    // 1 or 0, without a branch, for a character of the plane.
    unsigned inPlane(char32_t c) const { return (m_bits[c >> 6] >> (c & 63)) & 1; }

private:
    std::vector<std::uint64_t> m_bits;
};

const StableCharacters& stableCharacters() {
    static const StableCharacters characters;
    return characters;
}

enum class Utf8Form { Nfc, MaybeNotNfc, Invalid };

// Whether bytes are well-formed UTF-8 (as decodeUtf8At takes it: no overlong
// forms, surrogates or values beyond U+10FFFF) and, if so, whether they are
// in NFC.
Utf8Form utf8FormOf(std::string_view bytes) {
    if (firstInvalidUtf8(bytes))
        return Utf8Form::Invalid;
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    const bool normalised =
        U_SUCCESS(status) &&
        nfc->isNormalizedUTF8(icu::StringPiece(bytes.data(), static_cast<int32_t>(bytes.size())), status) &&
        U_SUCCESS(status);
    return normalised ? Utf8Form::Nfc : Utf8Form::MaybeNotNfc;
}

std::uint32_t continuationBits(unsigned char b) {
    return b & 0x3Fu;
}

char32_t threeByteCharacter(const unsigned char* at) {
    return (char32_t{at[0]} & 0x0F) << 12 | continuationBits(at[1]) << 6 | continuationBits(at[2]);
}

// The quick pass over the bytes most files hold. When they are well-formed
// UTF-8 made only of stable characters of one to three bytes (so the text is
// already in NFC), whether the word stands in them at a character's start;
// nothing for any other bytes, which utf8FormOf then judges. The word is
// looked for only when its first character, `first`, is beyond ASCII.
// This one walks the bytes one character at a time.
[[maybe_unused]] std::optional<bool> quickScanBytewise(std::string_view bytes, std::string_view word,
                                                       char32_t first) {
    const StableCharacters& stable = stableCharacters();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    const bool looking = first >= 0x80;
    bool found = false;
    const auto wordAt = [&](const unsigned char* at) {
        return static_cast<std::size_t>(end - at) >= word.size() &&
               std::memcmp(at, word.data(), word.size()) == 0;
    };
    unsigned simple = 1; // every character so far stable and well-formed
    while (p < end) {
        if (*p < 0x80) { // a run of ASCII, eight bytes at a time while it lasts
            for (std::uint64_t eight = 0; end - p >= 8; p += 8) {
                std::memcpy(&eight, p, 8);
                if ((eight & 0x8080808080808080ull) != 0)
                    break;
            }
            while (p < end && *p < 0x80)
                ++p;
            continue;
        }
        // One character of two or three bytes.
        char32_t c = 0;
        const unsigned char* start = p;
        if ((*p & 0xE0) == 0xC0 && end - p >= 2 && (p[1] & 0xC0) == 0x80) {
            c = (char32_t{*p} & 0x1F) << 6 | continuationBits(p[1]);
            simple &= c >= 0x80;
            p += 2;
        } else if ((*p & 0xF0) == 0xE0 && end - p >= 3 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80) {
            c = threeByteCharacter(p);
            simple &= c >= 0x800;
            p += 3;
        } else {
            return std::nullopt; // four bytes, or not well-formed
        }
        simple &= stable.inPlane(c);
        if (looking && !found && c == first)
            found = wordAt(start);
    }
    if (!simple)
        return std::nullopt;
    return found;
}

#if defined(__SSE2__)
// The same pass sixteen bytes at a time: the kind of every byte (ASCII,
// continuation, lead of two or of three bytes) comes as bit masks over 64
// bytes, the sequences are checked on the masks, and only the characters
// themselves are looked at one by one. It needs 64 zero bytes after the
// text (ASCII, so they change nothing), as readInto leaves there.
std::optional<bool> quickScan(std::string_view bytes, std::string_view word, char32_t first) {
    const StableCharacters& stable = stableCharacters();
    const auto* const base = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = base + bytes.size();
    const bool looking = first >= 0x80;
    bool found = false;
    unsigned simple = 1;
    std::uint64_t carry = 0; // continuations the previous 64 bytes expect at the start of these
    const __m128i evenMask = _mm_set1_epi8(static_cast<char>(0xFE));
    const __m128i overlongLead = _mm_set1_epi8(static_cast<char>(0xC0));
    const __m128i lowLead = _mm_set1_epi8(static_cast<char>(0xE0));
    const __m128i surrogateLead = _mm_set1_epi8(static_cast<char>(0xED));
    for (std::size_t offset = 0; offset <= bytes.size(); offset += 64) {
        const unsigned char* const at = base + offset;
        __m128i x[4];
        for (int k = 0; k < 4; ++k)
            x[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * k));
        const __m128i any = _mm_or_si128(_mm_or_si128(x[0], x[1]), _mm_or_si128(x[2], x[3]));
        if (_mm_movemask_epi8(any) == 0) { // all ASCII
            if (carry != 0)
                return std::nullopt;
            continue;
        }
        // Bits 7, 6, 5 and 4 of every byte, and the leads the quick pass leaves
        // to the careful one (C0 and C1 of overlong forms, E0 and ED).
        std::uint64_t bit7 = 0, bit6 = 0, bit5 = 0, bit4 = 0, special = 0;
        for (int k = 0; k < 4; ++k) {
            const int shift = 16 * k;
            const __m128i x1 = _mm_add_epi8(x[k], x[k]);
            const __m128i x2 = _mm_add_epi8(x1, x1);
            const __m128i x3 = _mm_add_epi8(x2, x2);
            bit7 |= std::uint64_t{static_cast<std::uint32_t>(_mm_movemask_epi8(x[k]))} << shift;
            bit6 |= std::uint64_t{static_cast<std::uint32_t>(_mm_movemask_epi8(x1))} << shift;
            bit5 |= std::uint64_t{static_cast<std::uint32_t>(_mm_movemask_epi8(x2))} << shift;
            bit4 |= std::uint64_t{static_cast<std::uint32_t>(_mm_movemask_epi8(x3))} << shift;
            const __m128i odd = _mm_or_si128(
                _mm_cmpeq_epi8(_mm_and_si128(x[k], evenMask), overlongLead),
                _mm_or_si128(_mm_cmpeq_epi8(x[k], lowLead), _mm_cmpeq_epi8(x[k], surrogateLead)));
            special |= std::uint64_t{static_cast<std::uint32_t>(_mm_movemask_epi8(odd))} << shift;
        }
        const std::uint64_t continuations = bit7 & ~bit6;
        const std::uint64_t leads2 = bit7 & bit6 & ~bit5;
        const std::uint64_t leads3 = bit7 & bit6 & bit5 & ~bit4;
        const std::uint64_t leads4 = bit7 & bit6 & bit5 & bit4; // and bytes that lead nothing
        if ((leads4 | special) != 0 || continuations != (((leads2 | leads3) << 1) | (leads3 << 2) | carry))
            return std::nullopt;
        carry = (leads2 >> 63) | (leads3 >> 63) | (leads3 >> 62);
        for (std::uint64_t leads = leads3; leads != 0; leads &= leads - 1) {
            const unsigned char* const character = at + std::countr_zero(leads);
            const char32_t c = threeByteCharacter(character);
            simple &= stable.inPlane(c);
            if (looking && !found && c == first)
                found = static_cast<std::size_t>(end - character) >= word.size() &&
                        std::memcmp(character, word.data(), word.size()) == 0;
        }
        for (std::uint64_t leads = leads2; leads != 0; leads &= leads - 1) {
            const unsigned char* const character = at + std::countr_zero(leads);
            const char32_t c = (char32_t{character[0]} & 0x1F) << 6 | continuationBits(character[1]);
            simple &= stable.inPlane(c);
            if (looking && !found && c == first)
                found = static_cast<std::size_t>(end - character) >= word.size() &&
                        std::memcmp(character, word.data(), word.size()) == 0;
        }
    }
    if (!simple)
        return std::nullopt;
    return found;
}
#else
std::optional<bool> quickScan(std::string_view bytes, std::string_view word, char32_t first) {
    return quickScanBytewise(bytes, word, first);
}
#endif

// The lines of a file's text joined with CR LF, empty lines before the
// first non-empty one dropped: the text readJoinedText gives for it.
std::string joinedLines(std::string_view text) {
    std::string joined;
    joined.reserve(text.size());
    for (const std::string_view line : splitTextLines(text)) {
        if (!joined.empty())
            joined += "\r\n";
        joined += line;
    }
    return joined;
}

} // namespace

void BytesFinder::learn(std::string_view sample) {
    std::size_t counts[256] = {};
    for (const char c : sample)
        ++counts[static_cast<unsigned char>(c)];
    for (std::size_t i = 0; i < m_word.size(); ++i)
        if (counts[static_cast<unsigned char>(m_word[i])] <
            counts[static_cast<unsigned char>(m_word[m_anchor])])
            m_anchor = i;
}

bool BytesFinder::in(std::string_view text) const {
    if (text.size() < m_word.size())
        return false;
    if (m_word.empty())
        return true;
    const char anchor = m_word[m_anchor];
    const char* from = text.data() + m_anchor;
    // One past the last place the anchor can stand with the whole word in the text.
    const char* const last = text.data() + text.size() - (m_word.size() - 1 - m_anchor);
    while (from < last) {
        const auto* hit =
            static_cast<const char*>(std::memchr(from, anchor, static_cast<std::size_t>(last - from)));
        if (hit == nullptr)
            return false;
        if (std::memcmp(hit - m_anchor, m_word.data(), m_word.size()) == 0)
            return true;
        from = hit + 1;
    }
    return false;
}

std::string_view rowText(std::string_view joined) {
    return joined.substr(0, joined.find('\t'));
}

ScriptSearch::ScriptSearch(std::string folder, std::vector<std::string> fileNames, std::string word,
                           LegacyCodePage legacy)
    : m_folder(std::move(folder)), m_fileNames(std::move(fileNames)), m_legacy(legacy) {
    if (!m_folder.empty() && m_folder.back() != '/')
        m_folder += '/';
    // Names are opened relative to the folder, which is looked up once.
    m_folderFd = m_folder.empty() ? AT_FDCWD : ::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    m_matchesNothing = word.empty() || firstInvalidUtf8(word).has_value();
    if (m_matchesNothing)
        return;
    m_word = toNfc(word);
    m_spansLines = m_word.find_first_of("\r\n") != std::string::npos;
    m_asciiShortcut = isAscii(m_word) && m_word.find_first_of(asciiTargetsOfNfc()) == std::string::npos;
    m_first = characterAt(m_word, 0);
    m_finder = BytesFinder(m_word);
    const std::optional<std::string> windows1252 = toWindows1252(m_word);
    m_fitsWindows1252 = windows1252.has_value();
    m_windows1252Finder = BytesFinder(windows1252.value_or(std::string()));
}

ScriptSearch::~ScriptSearch() {
    if (m_folderFd >= 0)
        ::close(m_folderFd);
}

// False only when the file's text certainly lacks the word; most files are
// answered on their bytes, without decoding them.
//  - An ASCII word that no other character normalises into occurs in the
//    text only where its bytes occur in the file, whatever the encoding:
//    UTF-8, Windows-1252 and Shift-JIS give ASCII characters only for the
//    same ASCII bytes.
//  - A UTF-8 file already in NFC is its own text.
//  - A Windows-1252 file has one byte for each character of its text, which
//    NFC leaves as it is, so the word's Windows-1252 bytes stand for it.
// A word spanning lines, a UTF-8 file not in NFC and a Shift-JIS file are
// decoded.
bool ScriptSearch::mayHold(std::string_view fileBytes) {
    if (m_spansLines)
        return true;
    if (m_asciiShortcut)
        return m_finder.in(fileBytes);
    const bool marked = fileBytes.starts_with(kByteOrderMark);
    const std::string_view text = marked ? fileBytes.substr(kByteOrderMark.size()) : fileBytes;
    if (const std::optional<bool> found = quickScan(text, m_word, m_first))
        return m_first >= 0x80 ? *found : m_finder.in(text);
    switch (utf8FormOf(text)) {
    case Utf8Form::Nfc:
        return m_finder.in(text);
    case Utf8Form::MaybeNotNfc:
        return true;
    case Utf8Form::Invalid:
        break;
    }
    if (marked)
        return false; // does not decode: skipped
    if (m_legacy == LegacyCodePage::Windows1252)
        return m_fitsWindows1252 && m_windows1252Finder.in(fileBytes);
    return true;
}

std::optional<SearchHit> ScriptSearch::testNext() {
    if (atEnd())
        return std::nullopt;
    const std::size_t position = m_next++;
    if (m_matchesNothing)
        return std::nullopt;
    const std::string& name = m_fileNames[position];
    if (m_folderFd < 0 && m_folderFd != AT_FDCWD)
        return std::nullopt; // the folder cannot be opened: no file in it can
    const std::optional<std::size_t> length = readInto(m_folderFd, name, m_buffer);
    if (!length)
        return std::nullopt;
    const std::string_view bytes(m_buffer.data(), *length);
    if (!m_learnt && !bytes.empty()) {
        m_finder.learn(bytes);
        m_windows1252Finder.learn(bytes);
        m_learnt = true;
    }
    if (!mayHold(bytes))
        return std::nullopt;
    const DecodedText decoded = decodeTextFile(bytes, m_legacy);
    if (decoded.status != TextFileStatus::Read)
        return std::nullopt;
    // Within a line the joined text is the decoded text itself.
    if (!m_spansLines && !contains(decoded.text, m_word))
        return std::nullopt;
    const std::string joined = joinedLines(decoded.text);
    if (m_spansLines && !contains(joined, m_word))
        return std::nullopt;
    return SearchHit{position, name, std::string(rowText(joined))};
}

std::vector<SearchHit> searchScripts(std::string folder, std::vector<std::string> fileNames, std::string word,
                                     LegacyCodePage legacy) {
    ScriptSearch search(std::move(folder), std::move(fileNames), std::move(word), legacy);
    std::vector<SearchHit> hits;
    while (!search.atEnd())
        if (std::optional<SearchHit> hit = search.testNext())
            hits.push_back(std::move(*hit));
    return hits;
}

} // namespace tradumar
