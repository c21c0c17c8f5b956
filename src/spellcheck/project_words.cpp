#include "spellcheck/project_words.h"

#include <cerrno>

#include "common/file_io.h"
#include "encoding/text_file.h"

namespace tradumar {

std::vector<std::string> parseWordList(std::string_view content) {
    std::vector<std::string> words;
    std::set<std::string_view> seen;
    std::size_t begin = 0;
    while (begin < content.size()) {
        std::size_t end = content.find_first_of("\r\n", begin);
        if (end == std::string_view::npos)
            end = content.size();
        std::string_view line = content.substr(begin, end - begin);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        if (!line.empty() && seen.insert(line).second)
            words.emplace_back(line);
        begin = end + 1;
    }
    return words;
}

std::string formatWordList(const std::vector<std::string>& words) {
    std::string content;
    for (const std::string& word : words)
        content += word + "\r\n";
    return content;
}

std::string wordListPathFor(const std::string& projectFilePath) {
    if (projectFilePath.empty())
        return {};
    const std::size_t slash = projectFilePath.find_last_of("/\\");
    const std::size_t dot = projectFilePath.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return projectFilePath.substr(0, hasExtension ? dot : projectFilePath.size()) + ".palabras.txt";
}

void ProjectWords::load(const std::string& projectFilePath, LegacyCodePage legacy) {
    m_projectFile = projectFilePath;
    m_legacy = legacy;
    m_path = wordListPathFor(projectFilePath);
    m_ordered.clear();
    m_words.clear();
    m_undecodable = false;
    if (m_path.empty())
        return;
    const DecodedText read = readTextFile(m_path, legacy);
    m_undecodable = read.status == TextFileStatus::Undecodable;
    if (read.status == TextFileStatus::Read) {
        m_ordered = parseWordList(read.text);
        m_words.insert(m_ordered.begin(), m_ordered.end());
    }
}

void ProjectWords::follow(const std::string& projectFilePath, LegacyCodePage legacy) {
    if (projectFilePath != m_projectFile || legacy != m_legacy ||
        (m_path.empty() && !projectFilePath.empty()))
        load(projectFilePath, legacy);
}

bool ProjectWords::contains(std::string_view word) const {
    return m_words.find(word) != m_words.end();
}

int ProjectWords::add(const std::string& word) {
    if (m_path.empty())
        return EINVAL;
    if (m_undecodable)
        return EILSEQ;
    if (contains(word))
        return 0;
    // Words another copy of the program added meanwhile are kept.
    std::vector<std::string> words = m_ordered;
    std::set<std::string, std::less<>> known = m_words;
    if (const DecodedText saved = readTextFile(m_path, m_legacy); saved.status == TextFileStatus::Read)
        for (std::string& savedWord : parseWordList(saved.text))
            if (known.insert(savedWord).second)
                words.push_back(std::move(savedWord));
    if (known.insert(word).second)
        words.push_back(word);
    if (const int error = writeFileAtomically(m_path, textFileBytes(formatWordList(words), m_legacy));
        error != 0)
        return error;
    m_ordered = std::move(words);
    m_words = std::move(known);
    return 0;
}

} // namespace tradumar
