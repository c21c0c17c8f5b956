#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "encoding/unicode_text.h"

namespace tradumar {

// The words of a word list's text (UTF-8, as the text-file reader gives it),
// one a line (CR LF, CR or LF ends a line), in file order: blanks around a
// word, blank lines and repeats are dropped.
std::vector<std::string> parseWordList(std::string_view content);

// The text of a list of words: one a line, each ended by CR LF.
std::string formatWordList(const std::vector<std::string>& words);

// The word list of a project file: next to it, its name with ".palabras.txt"
// in place of the extension. Empty for an empty project path. The name is
// made from the project file's own name (UTF-8 on Linux), byte for byte.
std::string wordListPathFor(const std::string& projectFilePath);

// The project's own words (names of characters, places, spells) that the
// dictionary lacks and the translator told the checker to accept. Kept in
// memory and in the project's word list file.
class ProjectWords {
public:
    // Reads the word list of this project file: UTF-8, or in the project's
    // legacy code page (encoding/text_file.h). A missing or unreadable file
    // is an empty list; so is one that does not decode, which is then kept
    // as it is (add refuses to write over it).
    void load(const std::string& projectFilePath, LegacyCodePage legacy = LegacyCodePage::Windows1252);
    // The same, unless this project's list is the one already read.
    void follow(const std::string& projectFilePath, LegacyCodePage legacy = LegacyCodePage::Windows1252);

    bool contains(std::string_view word) const;

    // Adds the word (UTF-8 in NFC) and rewrites the file atomically, in the
    // legacy code page the list was loaded with when every word fits it and
    // reads back the same, as UTF-8 with a byte-order mark otherwise
    // (textFileBytes), each line ended by CR LF. 0 on success, else the errno of
    // the write; the word then stays out of the list. Without a project the
    // list cannot be written (EINVAL), nor over a file that did not decode
    // (EILSEQ).
    int add(const std::string& word);

    const std::string& path() const { return m_path; }

private:
    std::string m_projectFile;
    std::string m_path;
    LegacyCodePage m_legacy = LegacyCodePage::Windows1252;
    bool m_undecodable = false;
    std::vector<std::string> m_ordered; // as the file holds them
    std::set<std::string, std::less<>> m_words;
};

} // namespace tradumar
