#include "spellcheck/hunspell_speller.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>

#include <hunspell.hxx>

#include "encoding/unicode_text.h"

namespace tradumar {
namespace {

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The ICU name of a dictionary's SET value: empty for UTF-8; the names only
// Hunspell uses are given ICU's, the rest ICU knows as they are. Without a
// SET line Hunspell reads ISO8859-1.
std::string icuEncodingOf(std::string set) {
    std::string key;
    for (const unsigned char c : set)
        if (std::isalnum(c))
            key += static_cast<char>(std::tolower(c));
    if (key == "utf8")
        return {};
    if (key.empty())
        return "ISO8859-1";
    if (key == "microsoftcp1251")
        return "windows-1251";
    if (key == "tis6202533")
        return "TIS-620";
    if (key == "isciidevanagari")
        return "ISCII,version=0";
    return set;
}

struct Found {
    std::string affix;
    std::string dictionary;
};

bool isDictionaryPair(const std::filesystem::path& affix) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(affix, ignored) &&
           std::filesystem::is_regular_file(std::filesystem::path(affix).replace_extension(".dic"), ignored);
}

// es_ES in any folder first; then the first es_* variant by name.
std::optional<Found> findSpanish(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        const std::filesystem::path affix = std::filesystem::path(folder) / "es_ES.aff";
        if (isDictionaryPair(affix))
            return Found{affix.string(), std::filesystem::path(affix).replace_extension(".dic").string()};
    }
    for (const std::string& folder : folders) {
        std::vector<std::filesystem::path> variants;
        std::error_code error;
        for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            const std::string name = it->path().filename().string();
            if (name.starts_with("es_") && it->path().extension() == ".aff" && isDictionaryPair(it->path()))
                variants.push_back(it->path());
        }
        if (!variants.empty()) {
            const auto first = *std::min_element(variants.begin(), variants.end());
            return Found{first.string(), std::filesystem::path(first).replace_extension(".dic").string()};
        }
    }
    return std::nullopt;
}

bool readable(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char byte = 0;
    return in.good() && in.read(&byte, 1).gcount() == 1;
}

} // namespace

std::vector<std::string> defaultDictionaryFolders() {
    return {"/usr/share/hunspell", "/usr/share/myspell/dicts", "/usr/share/myspell"};
}

HunspellSpeller::HunspellSpeller(std::vector<std::string> folders) : m_folders(std::move(folders)) {}

HunspellSpeller::~HunspellSpeller() = default;

DictionaryStatus HunspellSpeller::load() {
    if (m_status == DictionaryStatus::Loaded)
        return m_status;
    const std::optional<Found> found = findSpanish(m_folders);
    if (!found) {
        m_status = DictionaryStatus::Missing;
        return m_status;
    }
    // Hunspell does not report a file it cannot open; it just knows no words.
    if (!readable(found->affix) || !readable(found->dictionary)) {
        m_status = DictionaryStatus::Unreadable;
        return m_status;
    }
    try {
        m_hunspell = std::make_unique<Hunspell>(found->affix.c_str(), found->dictionary.c_str());
    } catch (const std::exception&) {
        m_hunspell.reset();
        m_status = DictionaryStatus::Unreadable;
        return m_status;
    }
    m_encoding = icuEncodingOf(m_hunspell->get_dict_encoding());
    m_affixPath = found->affix;
    m_known.clear();
    m_status = DictionaryStatus::Loaded;
    return m_status;
}

std::optional<std::string> HunspellSpeller::toDictionary(std::string_view word) const {
    // Hunspell holds a word's characters in 16 bits: one beyond the Basic
    // Multilingual Plane (a four-byte sequence) is in no dictionary.
    if (firstInvalidUtf8(word) ||
        std::any_of(word.begin(), word.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xF0; }))
        return std::nullopt;
    // Every character set Hunspell reads keeps ASCII as it is.
    if (m_encoding.empty() || isAscii(word))
        return std::string(word);
    return utf8ToEncoding(word, m_encoding);
}

std::optional<std::string> HunspellSpeller::fromDictionary(const std::string& word) const {
    if (m_encoding.empty() || isAscii(word))
        return firstInvalidUtf8(word) ? std::nullopt : std::optional<std::string>(toNfc(word));
    const std::optional<std::string> utf8 = utf8FromEncoding(word, m_encoding);
    return utf8 ? std::optional<std::string>(toNfc(*utf8)) : std::nullopt;
}

bool HunspellSpeller::check(std::string_view word) {
    if (m_status != DictionaryStatus::Loaded || word.empty())
        return false;
    std::string key(word);
    if (const auto it = m_known.find(key); it != m_known.end())
        return it->second;
    // A word with a letter the dictionary's character set lacks cannot be in it.
    const std::optional<std::string> converted = toDictionary(word);
    const bool known = converted && m_hunspell->spell(*converted);
    // The memo stays bounded however much text passes through it.
    if (m_known.size() > 200000)
        m_known.clear();
    m_known.emplace(std::move(key), known);
    return known;
}

std::vector<std::string> HunspellSpeller::suggest(std::string_view word) {
    std::vector<std::string> result;
    if (m_status != DictionaryStatus::Loaded || word.empty())
        return result;
    const std::optional<std::string> converted = toDictionary(word);
    if (!converted)
        return result;
    for (const std::string& suggestion : m_hunspell->suggest(*converted)) {
        const std::optional<std::string> back = fromDictionary(suggestion);
        if (back && std::find(result.begin(), result.end(), *back) == result.end())
            result.push_back(*back);
    }
    return result;
}

} // namespace tradumar
