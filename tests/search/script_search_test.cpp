#include "search/script_search.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace tradumar::testsupport {
namespace {

TEST(ScriptSearch, MatchesTheJoinedTextExactlyAndShowsItUpToItsFirstTab) {
    struct Case {
        const char* content;
        const char* word;
        const char* row; // nullptr: no hit
    };
    // Letter case, blanks, leading empty lines, the order and unreadable files are the window's tests.
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

} // namespace
} // namespace tradumar::testsupport
