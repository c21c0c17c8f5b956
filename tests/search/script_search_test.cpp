#include "search/script_search.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace tradumar {
namespace {

using testing::TempDir;
using testing::writeBytes;

TEST(ScriptSearch, MatchesTheJoinedTextExactlyAndShowsItUpToItsFirstTab) {
    struct Case {
        const char* content;
        const char* word;
        const char* row; // nullptr: no hit
    };
    // Letter case, blanks and leading empty lines are covered by the window's tests.
    const Case cases[] = {
        {"uno\tHola\r\ndos", "Hola", "uno"},                  // tested whole, shown up to the tab
        {"uno\rdos\r\n\r\n", "uno\r\ndos", "uno\r\ndos\r\n"}, // a lone CR ends a line
        {"Ho\r\nla", "Hola", nullptr},
        {"caf\xE9 <0A>", "\xE9 <", "caf\xE9 <0A>"},
        {"", "Ho", nullptr},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        writeBytes(dir.file("s.txt"), c.content);
        const std::vector<SearchHit> hits = searchScripts(dir.path().string(), {"s.txt"}, c.word);
        ASSERT_EQ(hits.size(), c.row ? 1u : 0u);
        if (c.row) {
            EXPECT_EQ(hits[0], (SearchHit{0, "s.txt", c.row}));
        }
    }
}

TEST(ScriptSearch, WalksTheListInOrderOneFileAtATimeAndSkipsWhatCannotBeRead) {
    TempDir dir;
    writeBytes(dir.file("b.txt"), "Hola b");
    writeBytes(dir.file("a.txt"), "Hola a");
    std::filesystem::create_directory(dir.file("dir.txt"));
    ScriptSearch search(dir.path().string() + "/", {"b.txt", "gone.txt", "dir.txt", "a.txt"}, "Hola");
    std::vector<std::optional<SearchHit>> results;
    while (!search.atEnd())
        results.push_back(search.testNext());
    EXPECT_EQ(results,
              (std::vector<std::optional<SearchHit>>{SearchHit{0, "b.txt", "Hola b"}, std::nullopt,
                                                     std::nullopt, SearchHit{3, "a.txt", "Hola a"}}));
}

} // namespace
} // namespace tradumar
