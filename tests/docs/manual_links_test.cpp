// The manual is plain HTML shipped with the program and browsed inside it:
// every page must be reachable from the index, and every link and picture
// must lead to a file (and place) that is there.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "support/temp_dir.h"

namespace tradumar::testsupport {
namespace {

namespace fs = std::filesystem;

std::string percentDecoded(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

TEST(Manual, EveryPageIsLinkedAndEveryLinkResolves) {
    const fs::path folder = fs::path(TRADUMAR_SOURCE_DIR) / "docs" / "manual";
    std::map<fs::path, std::string> pages;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".html")
            pages[fs::canonical(entry.path())] = readBytes(entry.path().string());
    ASSERT_TRUE(pages.count(fs::canonical(folder / "index.html")));
    ASSERT_GE(pages.size(), 5u);

    const std::regex attribute(R"re(\b(?:href|src)\s*=\s*"([^"]*)")re");
    const auto ids = [](const std::string& html) {
        std::set<std::string> found;
        const std::regex id(R"re(\bid\s*=\s*"([^"]+)")re");
        for (auto it = std::sregex_iterator(html.begin(), html.end(), id); it != std::sregex_iterator(); ++it)
            found.insert((*it)[1]);
        return found;
    };
    std::set<fs::path> linked{fs::canonical(folder / "index.html")};
    for (const auto& [page, html] : pages) {
        EXPECT_NE(html.find("<html lang=\"es\">"), std::string::npos) << page;
        EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos) << page;
        for (auto it = std::sregex_iterator(html.begin(), html.end(), attribute);
             it != std::sregex_iterator(); ++it) {
            const std::string link = (*it)[1];
            ASSERT_FALSE(link.empty()) << page;
            ASSERT_EQ(link.find("://"), std::string::npos) << page << ": the manual links nothing outside";
            const std::size_t hash = link.find('#');
            const std::string file = percentDecoded(link.substr(0, hash));
            const fs::path target = file.empty() ? page : page.parent_path() / file;
            ASSERT_TRUE(fs::exists(target)) << page << " -> " << link;
            linked.insert(fs::canonical(target));
            if (hash != std::string::npos) {
                const std::string& targetHtml =
                    pages.count(fs::canonical(target)) ? pages.at(fs::canonical(target)) : "";
                EXPECT_TRUE(ids(targetHtml).count(link.substr(hash + 1))) << page << " -> " << link;
            }
        }
    }
    for (const auto& [page, html] : pages)
        EXPECT_TRUE(linked.count(page)) << page << " is linked from no page";
    // The README leads to the same pages.
    EXPECT_NE(
        readBytes((fs::path(TRADUMAR_SOURCE_DIR) / "README.md").string()).find("(docs/manual/index.html)"),
        std::string::npos);
}

} // namespace
} // namespace tradumar::testsupport
