#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "spellcheck/speller.h"

class Hunspell;

namespace tradumar {

enum class DictionaryStatus {
    NotLoaded,  // nothing tried yet
    Loaded,     // ready to check
    Missing,    // no Spanish dictionary in any of the folders
    Unreadable, // a dictionary was found but could not be loaded
};

// The folders where Debian's dictionary packages put their files.
std::vector<std::string> defaultDictionaryFolders();

// The Spanish Hunspell dictionary. It is looked for in the given folders,
// es_ES first, then any other es_* variant, and loaded once: the first load
// that succeeds is kept for the rest of the run. Words cross into the
// dictionary's own character set (its SET line) here and nowhere else; a
// word with a character that set lacks is not in the dictionary.
class HunspellSpeller : public Speller {
public:
    explicit HunspellSpeller(std::vector<std::string> folders = defaultDictionaryFolders());
    ~HunspellSpeller() override;
    HunspellSpeller(const HunspellSpeller&) = delete;
    HunspellSpeller& operator=(const HunspellSpeller&) = delete;

    // Where the dictionary is looked for; has no effect once one is loaded.
    void setFolders(std::vector<std::string> folders) { m_folders = std::move(folders); }

    // Loads the dictionary unless it already is; a failed attempt is tried
    // again on the next call.
    DictionaryStatus load();
    DictionaryStatus status() const { return m_status; }
    // The .aff file of the loaded dictionary.
    const std::string& affixPath() const { return m_affixPath; }

    // Both answer as if every word were wrong (no suggestions) until a
    // dictionary is loaded.
    bool check(std::string_view word) override;
    // Forgets the answers kept so far, as if no word had been checked yet.
    void forgetAnswers() { m_known.clear(); }
    std::vector<std::string> suggest(std::string_view word) override;

private:
    std::optional<std::string> toDictionary(std::string_view word) const;
    std::optional<std::string> fromDictionary(const std::string& word) const;

    std::vector<std::string> m_folders;
    std::unique_ptr<Hunspell> m_hunspell;
    DictionaryStatus m_status = DictionaryStatus::NotLoaded;
    std::string m_affixPath;
    // The dictionary's character set as ICU names it; empty for UTF-8.
    std::string m_encoding;
    // A script repeats its words; the answers are kept, since the
    // dictionary never changes while the program runs.
    std::unordered_map<std::string, bool> m_known;
};

} // namespace tradumar
