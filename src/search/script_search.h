#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// Finds the files of a folder whose text holds a word, exactly and with
// letter case. Each file is read whole and joined as a script is opened
// (readJoinedText), so the search sees the text the panes show. Files are
// tested one at a time in list order, so a window can run the search in
// slices and stop it between two files; a file that cannot be read is
// skipped.
class ScriptSearch {
public:
    // folder is joined to each name with "/" unless it already ends in one.
    ScriptSearch(std::string folder, std::vector<std::string> fileNames, std::string word);

    bool atEnd() const { return m_next >= m_fileNames.size(); }
    std::size_t filesTested() const { return m_next; }

    // Reads and tests the next file; its hit when it holds the word.
    std::optional<SearchHit> testNext();

private:
    std::string m_folder;
    std::vector<std::string> m_fileNames;
    std::string m_word;
    std::size_t m_next = 0;
};

// The whole search at once, hits in list order.
std::vector<SearchHit> searchScripts(std::string folder, std::vector<std::string> fileNames,
                                     std::string word);

} // namespace tradumar
