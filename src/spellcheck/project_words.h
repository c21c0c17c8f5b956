#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tradumar {

// The words of a word list file, one a line (CR LF, CR or LF ends a line),
// in file order: blanks around a word, blank lines and repeats are dropped.
std::vector<std::string> parseWordList(std::string_view content);

// The file content for a list of words: one a line, each ended by CR LF.
std::string formatWordList(const std::vector<std::string>& words);

// The word list of a project file: next to it, its name with ".palabras.txt"
// in place of the extension. Empty for an empty project path.
std::string wordListPathFor(const std::string& projectFilePath);

// The project's own words (names of characters, places, spells) that the
// dictionary lacks and the translator told the checker to accept. Kept in
// memory and in the project's word list file.
class ProjectWords {
public:
    // Reads the word list of this project file. A missing or unreadable
    // file is an empty list.
    void load(const std::string& projectFilePath);
    // The same, unless this project's list is the one already read.
    void follow(const std::string& projectFilePath);

    bool contains(std::string_view word) const;

    // Adds the word and rewrites the file atomically. 0 on success, else the
    // errno of the write; the word then stays out of the list. Without a
    // project the list cannot be written (EINVAL).
    int add(const std::string& word);

    const std::string& path() const { return m_path; }

private:
    std::string m_projectFile;
    std::string m_path;
    std::vector<std::string> m_ordered; // as the file holds them
    std::set<std::string, std::less<>> m_words;
};

} // namespace tradumar
