#include "search/script_search.h"

#include "workspace/script_files.h"

namespace tradumar {

std::string_view rowText(std::string_view joined) {
    return joined.substr(0, joined.find('\t'));
}

ScriptSearch::ScriptSearch(std::string folder, std::vector<std::string> fileNames, std::string word)
    : m_folder(std::move(folder)), m_fileNames(std::move(fileNames)), m_word(std::move(word)) {
    if (!m_folder.empty() && m_folder.back() != '/')
        m_folder += '/';
}

std::optional<SearchHit> ScriptSearch::testNext() {
    if (atEnd())
        return std::nullopt;
    const std::size_t position = m_next++;
    const std::string& name = m_fileNames[position];
    const std::optional<std::string> joined = readJoinedText(m_folder + name);
    if (!joined || std::string_view(*joined).find(m_word) == std::string_view::npos)
        return std::nullopt;
    return SearchHit{position, name, std::string(rowText(*joined))};
}

std::vector<SearchHit> searchScripts(std::string folder, std::vector<std::string> fileNames,
                                     std::string word) {
    ScriptSearch search(std::move(folder), std::move(fileNames), std::move(word));
    std::vector<SearchHit> hits;
    while (!search.atEnd())
        if (std::optional<SearchHit> hit = search.testNext())
            hits.push_back(std::move(*hit));
    return hits;
}

} // namespace tradumar
