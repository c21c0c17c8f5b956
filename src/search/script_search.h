#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "encoding/unicode_text.h"

namespace tradumar {

// One file that holds the word: its name as listed and the text its result
// row shows (the file's joined text up to its first tab).
struct SearchHit {
    std::size_t position = 0; // in the list of names
    std::string fileName;
    std::string text;

    bool operator==(const SearchHit&) const = default;
};

// The text a result row shows for a file's joined text: everything before
// its first tab.
std::string_view rowText(std::string_view joined);

// Looks for a word in bytes through memchr on one byte of it, the one the
// text holds least often as far as a sample of it shows.
class BytesFinder {
public:
    explicit BytesFinder(std::string word = {}) : m_word(std::move(word)) {}
    void learn(std::string_view sample);
    bool in(std::string_view text) const;

private:
    std::string m_word;
    std::size_t m_anchor = 0; // the byte of the word memchr looks for
};

// Finds the files of a folder whose text holds a word, exactly and with
// letter case, after both are normalised to NFC. Each file is read as a
// script is opened: UTF-8, or in the project's legacy code page, its lines
// joined with CR LF (readJoinedText), so the search sees the text the panes
// show. Files are tested one at a time in list order, so a window can run
// the search in slices and stop it between two files; a file that cannot be
// read or decoded is skipped.
class ScriptSearch {
public:
    // folder is joined to each name with "/" unless it already ends in one.
    ScriptSearch(std::string folder, std::vector<std::string> fileNames, std::string word,
                 LegacyCodePage legacy);
    ~ScriptSearch();
    ScriptSearch(const ScriptSearch&) = delete;
    ScriptSearch& operator=(const ScriptSearch&) = delete;

    bool atEnd() const { return m_next >= m_fileNames.size(); }
    std::size_t filesTested() const { return m_next; }

    // Reads and tests the next file; its hit when it holds the word.
    std::optional<SearchHit> testNext();

private:
    bool mayHold(std::string_view fileBytes);

    std::string m_folder;
    int m_folderFd = -1; // the folder, open while the search lasts
    std::vector<std::string> m_fileNames;
    std::string m_word; // UTF-8 in NFC
    LegacyCodePage m_legacy;
    // What lets most files be passed over on their bytes alone.
    bool m_matchesNothing = false;   // the word is empty or not well-formed UTF-8
    bool m_spansLines = false;       // the word holds a line end
    bool m_asciiShortcut = false;    // see mayHold
    char32_t m_first = 0;            // the word's first character
    BytesFinder m_finder;            // the word
    bool m_fitsWindows1252 = false;  // whether the word has Windows-1252 bytes
    BytesFinder m_windows1252Finder; // those bytes
    bool m_learnt = false;           // whether the finders have seen a file
    std::vector<char> m_buffer;      // the file being tested, kept between files
    std::size_t m_next = 0;
};

// The whole search at once, hits in list order.
std::vector<SearchHit> searchScripts(std::string folder, std::vector<std::string> fileNames, std::string word,
                                     LegacyCodePage legacy);

} // namespace tradumar
