#include "project/recent_projects.h"

#include <algorithm>
#include <filesystem>

namespace tradumar {

std::string recentProjectKey(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().string();
}

std::vector<std::string> withoutRecentProject(const std::vector<std::string>& recent,
                                              const std::string& path) {
    const std::string key = recentProjectKey(path);
    std::vector<std::string> kept;
    for (const std::string& entry : recent)
        if (!entry.empty() && recentProjectKey(entry) != key)
            kept.push_back(entry);
    return kept;
}

std::vector<std::string> withRecentProject(const std::vector<std::string>& recent, const std::string& path) {
    std::vector<std::string> list{path};
    for (std::string& entry : withoutRecentProject(recent, path)) {
        if (list.size() == kMaxRecentProjects)
            break;
        list.push_back(std::move(entry));
    }
    return list;
}

std::vector<std::string> recentProjectsToOffer(const std::vector<std::string>& recent,
                                               const std::function<bool(const std::string&)>& exists) {
    std::vector<std::string> offered;
    std::vector<std::string> keys;
    for (const std::string& entry : recent) {
        if (offered.size() == kMaxRecentProjects)
            break;
        const std::string key = recentProjectKey(entry);
        if (entry.empty() || std::find(keys.begin(), keys.end(), key) != keys.end() || !exists(entry))
            continue;
        keys.push_back(key);
        offered.push_back(entry);
    }
    return offered;
}

std::string recentProjectCaption(std::size_t index, const std::string& path) {
    // A "&" of the path itself is doubled, so it shows instead of marking a key.
    const auto shown = [](const std::string& text) {
        std::string out;
        for (const char c : text)
            out += c == '&' ? std::string("&&") : std::string(1, c);
        return out;
    };
    const std::filesystem::path file(path);
    std::string caption = "&" + std::to_string(index + 1) + " " + shown(file.filename().string());
    if (file.has_parent_path())
        caption += " (" + shown(file.parent_path().string()) + ")";
    return caption;
}

} // namespace tradumar
