#include "encoding/thingy_table.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace tradumar::testsupport {
namespace {

TEST(ThingyTableLoad, EachLineTakesThePlaceItsFirstRuleGivesIt) {
    const std::string content =
        "3D==\r\n; comment\r\n\r\n 8a3f = Hola \r20=A=B\r\n/FF\r\n*FE\r\n/\r\n/FF=x\r\n"
        "*FD=\xE9\r\nbare\r\n43=C\n44=D\n";
    const std::vector<ThingyEntry> expected = {
        {"3D", "="}, {" 8a3f ", " Hola "}, {"20", "A=B"}, {"FF", "END"}, {"FE", "LINE"},
        {"", "END"}, {"/FF", "x"},         {"*FD", "é"},  {"43", "C"},   {"44", "D"}};
    ThingyTable table;
    table.set(11, {"99", "kept"});
    TempDir dir;
    writeBytes(dir.file("t.tbl"), content);
    const TableLoad load = loadThingyTable(dir.file("t.tbl"), table, TableOverflow::Fail);
    ASSERT_EQ(load.status, LoadStatus::Loaded);
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(table.at(static_cast<int>(i) + 1), expected[i]) << "position " << i + 1;
    // Kept, but their codes are no digit pairs: they never match, and are named.
    EXPECT_EQ(load.unusable, (std::vector<UnusableLine>{{8, "/"}, {9, "/FF=x"}, {10, "*FD=é"}}));
    EXPECT_EQ(table.find("x"), 0);
    EXPECT_EQ(table.find(" Hola "), 2);
    EXPECT_EQ(table.at(11).text, "kept"); // positions past the last entry stay as they were

    EXPECT_EQ(loadThingyTable(dir.file("missing.tbl"), table, TableOverflow::Drop).status,
              LoadStatus::Unreadable);
    EXPECT_EQ(table.at(1).text, "=");
}

TEST(ThingyTableLoad, PastThe5000thEntryTheOriginalDropsAndTheTranslatedFails) {
    std::string content;
    for (int i = 0; i < 5001; ++i)
        content += "00=" + std::to_string(i) + "\r\n";
    content += "/FF\r\n";
    for (const auto& [overflow, status] : {std::pair{TableOverflow::Drop, LoadStatus::Loaded},
                                           std::pair{TableOverflow::Fail, LoadStatus::Overflow}}) {
        ThingyTable table;
        EXPECT_EQ(parseThingyTable(content, table, overflow), status);
        EXPECT_EQ(table.at(5000).text, "4999");
        EXPECT_EQ(table.endCodePosition(), 0);
    }
}

// The first empty text ends the table for lookups and longest lengths; the
// line and end codes are found among all positions.
TEST(ThingyTable, LookupsAndLongestLengthsStopAtTheFirstEmptyText) {
    struct Case {
        const char* content;
        const char* text; // looked up
        int found;
        int longestWithCodes, longestWithout, lineCode, endCode;
    };
    const Case cases[] = {
        {"41=A\r\n20=\r\n4243=BCDEF\r\n", "BCDEF", 0, 1, 1, 0, 0},
        {"41=A\r\n61=A\r\n*FE\r\n", "A", 1, 4, 1, 3, 0},
        {"41=A\r\n/FF\r\n4142=AB\r\n", "AB", 3, 3, 2, 0, 2},
        {"41=A\r\n20=\r\n*FE\r\n/FF\r\n", "LINE", 0, 1, 1, 3, 4},
        {"", "A", 0, 1, 1, 0, 0},
    };
    for (const Case& c : cases) {
        ThingyTable table;
        parseThingyTable(c.content, table, TableOverflow::Drop);
        EXPECT_EQ(table.find(c.text), c.found) << c.content;
        EXPECT_EQ(table.longestTextLength(true), c.longestWithCodes) << c.content;
        EXPECT_EQ(table.longestTextLength(false), c.longestWithout) << c.content;
        EXPECT_EQ(table.lineCodePosition(), c.lineCode) << c.content;
        EXPECT_EQ(table.endCodePosition(), c.endCode) << c.content;
        const std::span<const std::uint8_t> line = table.bytesAt(c.lineCode);
        EXPECT_EQ(std::vector(line.begin(), line.end()),
                  c.lineCode ? std::vector<std::uint8_t>{0xFE} : std::vector<std::uint8_t>{});
        table.clear();
        EXPECT_EQ(table.find("A"), 0);
        EXPECT_EQ(table.lineCodePosition(), 0);
    }
}

} // namespace
} // namespace tradumar::testsupport
