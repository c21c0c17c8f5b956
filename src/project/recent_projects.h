#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace tradumar {

// The projects last opened, most recent first, as "Proyecto > Recientes"
// lists them. The list is kept in the program's own settings, never in a
// project. A project file that is missing (a removed drive, a share not
// mounted) stays in the stored list, so it comes back with its drive, but
// is not offered in the menu; it leaves the list only when newer projects
// push it out or opening it fails.
constexpr std::size_t kMaxRecentProjects = 5;

// The same path written differently ("a/./b.tpr", "a//b.tpr") names one project.
std::string recentProjectKey(const std::string& path);

// The list after a project was opened: it comes first, any other entry for
// the same file goes, and the list keeps at most kMaxRecentProjects.
std::vector<std::string> withRecentProject(const std::vector<std::string>& recent, const std::string& path);

// The list without a project (whose opening failed).
std::vector<std::string> withoutRecentProject(const std::vector<std::string>& recent,
                                              const std::string& path);

// The entries the menu offers: those whose file exists, in order, at most
// kMaxRecentProjects, empty ones and repeats left out.
std::vector<std::string> recentProjectsToOffer(const std::vector<std::string>& recent,
                                               const std::function<bool(const std::string&)>& exists);

// The menu caption of an entry: "&1 Demo.tpr (/home/ana/demo)", the number
// counting from 1 (a "&" in the path is doubled).
std::string recentProjectCaption(std::size_t index, const std::string& path);

} // namespace tradumar
