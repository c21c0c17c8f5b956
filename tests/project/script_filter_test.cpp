#include <gtest/gtest.h>

#include "project/recent_projects.h"
#include "project/script_filter.h"

namespace tradumar {
namespace {

std::vector<ScriptProgress> scripts(std::initializer_list<ScriptState> states) {
    std::vector<ScriptProgress> list;
    for (const ScriptState state : states)
        list.push_back({std::to_string(list.size()) + "[4].txt", state, 0, 4, {}, {}});
    return list;
}

TEST(ScriptFilter, EachFilterShowsItsScriptsAndNavigationStaysInside) {
    using S = ScriptState;
    const auto list = scripts({S::NotTranslated, S::WithinBudget, S::OverBudget, S::CannotInsert,
                               S::WithinBudget, S::NotTranslated, S::OverBudget});
    const std::vector<bool> pending{true, false, true, true, true, true, false};
    const std::pair<ScriptFilter, std::vector<std::size_t>> cases[] = {
        {ScriptFilter::All, {0, 1, 2, 3, 4, 5, 6}}, {ScriptFilter::NotTranslated, {0, 5}},
        {ScriptFilter::OverBudget, {2, 6}},         {ScriptFilter::CannotInsert, {3}},
        {ScriptFilter::PendingInsertion, {2, 4}},
    };
    for (const auto& [filter, shown] : cases)
        EXPECT_EQ(filterScripts(list, filter, pending), shown) << scriptFilterText(filter);
    EXPECT_TRUE(filterScripts(list, ScriptFilter::PendingInsertion).empty());

    const std::vector<std::size_t> shown{2, 4, 6};
    constexpr int none = -1;
    // The current script, the step, and where it leads.
    const int steps[][3] = {{2, 1, 4},  {2, -1, none}, {4, 2, none}, {3, 1, 4},    {3, -1, 2},
                            {6, -2, 2}, {0, 1, 2},     {9, -1, 6},   {3, 0, none}, {4, 0, 4}};
    for (const auto& [current, step, expected] : steps)
        EXPECT_EQ(stepInView(shown, static_cast<std::size_t>(current), step),
                  expected == none ? std::nullopt : std::optional<std::size_t>(expected))
            << current << " " << step;
}

TEST(ScriptFilter, NextUntranslatedGoesRoundTheList) {
    using S = ScriptState;
    const auto list = scripts({S::WithinBudget, S::NotTranslated, S::OverBudget, S::NotTranslated});
    const std::pair<std::size_t, std::optional<std::size_t>> cases[] = {{0, 1}, {1, 3}, {3, 1}, {99, 1}};
    for (const auto& [current, expected] : cases)
        EXPECT_EQ(nextUntranslated(list, current), expected) << current;
    EXPECT_EQ(nextUntranslated(scripts({S::NotTranslated, S::WithinBudget}), 0), std::nullopt);
    EXPECT_EQ(nextUntranslated({}, 0), std::nullopt);
}

TEST(RecentProjects, MostRecentFirstOnceEachAtMostFive) {
    std::vector<std::string> recent;
    for (const char* path : {"/p/a.tpr", "/p/b.tpr", "/p/c.tpr", "/p/d.tpr", "/p/e.tpr", "/p/f.tpr",
                             "/p/./c.tpr", "/p//Año ♪.tpr"})
        recent = withRecentProject(recent, path);
    EXPECT_EQ(recent,
              (std::vector<std::string>{"/p//Año ♪.tpr", "/p/./c.tpr", "/p/f.tpr", "/p/e.tpr", "/p/d.tpr"}));
    EXPECT_EQ(withoutRecentProject(recent, "/p/c.tpr"),
              (std::vector<std::string>{"/p//Año ♪.tpr", "/p/f.tpr", "/p/e.tpr", "/p/d.tpr"}));
    const std::vector<std::string> stored{"/p/a.tpr", "",         "/q/gone.tpr", "/p/b.tpr", "/p//a.tpr",
                                          "/p/c.tpr", "/p/d.tpr", "/p/e.tpr",    "/p/f.tpr"};
    EXPECT_EQ(recentProjectsToOffer(stored, [](const std::string& path) { return path[1] == 'p'; }),
              (std::vector<std::string>{"/p/a.tpr", "/p/b.tpr", "/p/c.tpr", "/p/d.tpr", "/p/e.tpr"}));
    EXPECT_EQ(recentProjectCaption(1, "/home/ana/R&D/Demo.tpr"), "&2 Demo.tpr (/home/ana/R&&D)");
}

} // namespace
} // namespace tradumar
