// The manual is plain HTML shipped with the program and browsed inside it:
// every page must be reachable from the index, and every link and picture
// must lead to a file (and an id in it) that is there.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "support/temp_dir.h"

namespace tradumar::testsupport {
namespace {

namespace fs = std::filesystem;

std::set<std::string> matches(const std::string& html, const std::regex& pattern) {
    std::set<std::string> found;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), pattern); it != std::sregex_iterator();
         ++it)
        found.insert((*it)[1]);
    return found;
}

TEST(Manual, EveryPageIsLinkedAndEveryLinkResolves) {
    const fs::path folder = fs::path(TRADUMAR_SOURCE_DIR) / "docs" / "manual";
    std::map<fs::path, std::string> pages;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".html")
            pages[fs::canonical(entry.path())] = readBytes(entry.path().string());
    ASSERT_GE(pages.size(), 5u);
    std::set<fs::path> linked{fs::canonical(folder / "index.html")};
    for (const auto& [page, html] : pages) {
        EXPECT_NE(html.find("<html lang=\"es\">\n<head>\n<meta charset=\"utf-8\">"), std::string::npos)
            << page;
        for (const std::string& link : matches(html, std::regex(R"re(\b(?:href|src)="([^"]*)")re"))) {
            ASSERT_EQ(link.find_first_of(":%"), std::string::npos) << page << ": " << link;
            const std::size_t hash = link.find('#');
            const fs::path target =
                hash == 0 ? page : fs::weakly_canonical(page.parent_path() / link.substr(0, hash));
            ASSERT_TRUE(fs::exists(target)) << page << " -> " << link;
            linked.insert(target);
            if (hash != std::string::npos) {
                EXPECT_TRUE(pages.count(target) &&
                            matches(pages.at(target), std::regex(R"re(\bid="([^"]+)")re"))
                                .count(link.substr(hash + 1)))
                    << page << " -> " << link;
            }
        }
    }
    for (const auto& [page, html] : pages)
        EXPECT_TRUE(linked.count(page)) << page << " is linked from no page";
    // The README leads to the same pages.
    EXPECT_NE(readBytes(std::string(TRADUMAR_SOURCE_DIR) + "/README.md").find("(docs/manual/index.html)"),
              std::string::npos);
}

} // namespace
} // namespace tradumar::testsupport
