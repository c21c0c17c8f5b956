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
    const Case cases[] = {
        {"Hola mundo", "Hola", "Hola mundo"},
        {"hola mundo", "Hola", nullptr}, // letter case counts
        {"Hola  mundo", "a m", nullptr}, // so do blanks
        {"Hola  mundo", "a  m", "Hola  mundo"},
        {"\r\n\r\nHola\r\n\r\nfin", "Hola", "Hola\r\n\r\nfin"}, // leading empty lines dropped
        {"uno\tHola\r\ndos", "Hola", "uno"},                    // tested whole, shown up to the tab
        {"uno\rdos", "uno\r\ndos", "uno\r\ndos"},               // a lone CR ends a line
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
    writeBytes(dir.file("c.txt"), "nada");
    std::filesystem::create_directory(dir.file("dir.txt"));
    for (const std::string& folder : {dir.path().string(), dir.path().string() + "/"}) {
        ScriptSearch search(folder, {"b.txt", "gone.txt", "dir.txt", "c.txt", "a.txt"}, "Hola");
        std::vector<SearchHit> hits;
        std::vector<std::size_t> tested;
        while (!search.atEnd()) {
            if (auto hit = search.testNext())
                hits.push_back(*hit);
            tested.push_back(search.filesTested());
        }
        EXPECT_EQ(tested, (std::vector<std::size_t>{1, 2, 3, 4, 5}));
        EXPECT_EQ(hits, (std::vector<SearchHit>{{0, "b.txt", "Hola b"}, {4, "a.txt", "Hola a"}}));
        EXPECT_EQ(search.testNext(), std::nullopt);
    }
}

} // namespace
} // namespace tradumar
