#include "spellcheck/hunspell_speller.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>

#include <hunspell.hxx>

#include "encoding/windows1252.h"

namespace tradumar {
namespace {

// Where ISO 8859-15 differs from ISO 8859-1.
constexpr std::array<std::pair<std::uint8_t, char16_t>, 8> kLatin9 = {{{0xA4, 0x20AC},
                                                                       {0xA6, 0x0160},
                                                                       {0xA8, 0x0161},
                                                                       {0xB4, 0x017D},
                                                                       {0xB8, 0x017E},
                                                                       {0xBC, 0x0152},
                                                                       {0xBD, 0x0153},
                                                                       {0xBE, 0x0178}}};

// Decodes UTF-8; false on a malformed sequence.
bool decodeUtf8(std::string_view text, std::u32string& out) {
    for (std::size_t i = 0; i < text.size();) {
        const auto decoded = decodeUtf8At(text, i);
        if (!decoded)
            return false;
        out += decoded->first;
        i += decoded->second;
    }
    return true;
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
    std::string set = m_hunspell->get_dict_encoding();
    std::transform(set.begin(), set.end(), set.begin(), [](unsigned char c) { return std::toupper(c); });
    set.erase(std::remove(set.begin(), set.end(), '-'), set.end());
    m_charset = set == "UTF8"                          ? Charset::Utf8
                : set == "ISO88591" || set == "CP1252" ? Charset::Latin1
                : set == "ISO885915"                   ? Charset::Latin9
                                                       : Charset::Ascii;
    m_affixPath = found->affix;
    m_known.clear();
    m_status = DictionaryStatus::Loaded;
    return m_status;
}

std::string HunspellSpeller::toDictionary(std::string_view word, bool& ok) const {
    std::string out;
    ok = true;
    for (const char byte : word) {
        const char32_t c = unicodeOfWindows1252(static_cast<unsigned char>(byte));
        switch (m_charset) {
        case Charset::Utf8:
            appendUtf8(out, c);
            break;
        case Charset::Latin1:
        case Charset::Ascii:
            if (c >= (m_charset == Charset::Ascii ? 0x80u : 0x100u))
                ok = false;
            out += static_cast<char>(c);
            break;
        case Charset::Latin9: {
            const auto* hit =
                std::find_if(kLatin9.begin(), kLatin9.end(), [c](const auto& p) { return p.second == c; });
            if (hit != kLatin9.end())
                out += static_cast<char>(hit->first);
            else if (c < 0x100 && std::none_of(kLatin9.begin(), kLatin9.end(),
                                               [c](const auto& p) { return p.first == c; }))
                out += static_cast<char>(c);
            else
                ok = false;
            break;
        }
        }
    }
    return out;
}

std::string HunspellSpeller::fromDictionary(const std::string& word, bool& ok) const {
    std::u32string characters;
    ok = true;
    if (m_charset == Charset::Utf8) {
        ok = decodeUtf8(word, characters);
    } else {
        for (const char byte : word) {
            const auto b = static_cast<unsigned char>(byte);
            char32_t c = b;
            if (m_charset == Charset::Latin9)
                for (const auto& [code, unicode] : kLatin9)
                    if (code == b)
                        c = unicode;
            characters += c;
        }
    }
    std::string out;
    for (const char32_t c : characters) {
        const std::optional<char> byte = windows1252ByteOf(c);
        if (!byte)
            ok = false;
        out += byte.value_or('?');
    }
    return out;
}

bool HunspellSpeller::check(std::string_view word) {
    if (m_status != DictionaryStatus::Loaded || word.empty())
        return false;
    std::string key(word);
    if (const auto it = m_known.find(key); it != m_known.end())
        return it->second;
    bool ok = false;
    const std::string converted = toDictionary(word, ok);
    // A word with a letter the dictionary's character set lacks cannot be in it.
    const bool known = ok && m_hunspell->spell(converted);
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
    bool ok = false;
    const std::string converted = toDictionary(word, ok);
    if (!ok)
        return result;
    for (const std::string& suggestion : m_hunspell->suggest(converted)) {
        // A suggestion that Windows-1252 cannot write would corrupt the script.
        const std::string back = fromDictionary(suggestion, ok);
        if (ok && std::find(result.begin(), result.end(), back) == result.end())
            result.push_back(back);
    }
    return result;
}

} // namespace tradumar
