#include "encoding/thingy_table.h"

#include <gtest/gtest.h>

#include "encoding/conversions.h"
#include "support/temp_dir.h"

namespace tradumar {
namespace {

using testing::TempDir;
using testing::writeBytes;

class ThingyTableLoad : public ::testing::Test {
protected:
    LoadStatus load(std::string_view content, TableOverflow overflow = TableOverflow::Drop) {
        const std::string path = dir.file("table.tbl");
        writeBytes(path, content);
        return loadThingyTable(path, table, overflow);
    }
    TempDir dir;
    ThingyTable table;
};

TEST_F(ThingyTableLoad, ClassifiesEachLineByTheFirstRuleThatApplies) {
    ASSERT_EQ(load("3D==\r\n20= \r\n/FF\r\n*FE\r\n/\r\n/FF=x\r\n*FD=\xE9\r\n"), LoadStatus::Loaded);
    EXPECT_EQ(table.at(1), (ThingyEntry{"3D", "="}));
    EXPECT_EQ(table.at(2), (ThingyEntry{"20", " "}));
    EXPECT_EQ(table.at(3), (ThingyEntry{"FF", "END"}));
    EXPECT_EQ(table.at(4), (ThingyEntry{"FE", "LINE"}));
    EXPECT_EQ(table.at(5), (ThingyEntry{"", "END"}));
    EXPECT_EQ(table.at(6), (ThingyEntry{"/FF", "x"}));
    EXPECT_EQ(table.at(7), (ThingyEntry{"*FD", "\xE9"}));
    EXPECT_TRUE(table.at(8).empty());
}

TEST_F(ThingyTableLoad, SkippedLinesTakeNoPosition) {
    ASSERT_EQ(load("; comment\r\n\r\n41=A\r\nbare\r\n42=B"), LoadStatus::Loaded);
    EXPECT_EQ(table.at(1), (ThingyEntry{"41", "A"}));
    EXPECT_EQ(table.at(2), (ThingyEntry{"42", "B"}));
}

TEST_F(ThingyTableLoad, LineEndsAtCrCrLfOrALoneLf) {
    ASSERT_EQ(load("41=A\r42=B\r\n43=C\n44=D\n"), LoadStatus::Loaded);
    EXPECT_EQ(table.at(1).text, "A");
    EXPECT_EQ(table.at(2).text, "B");
    EXPECT_EQ(table.at(3), (ThingyEntry{"43", "C"}));
    EXPECT_EQ(table.at(4), (ThingyEntry{"44", "D"}));
    EXPECT_TRUE(table.at(5).empty());
}

TEST_F(ThingyTableLoad, KeepsCodesAndTextsExactlyAsWritten) {
    ASSERT_EQ(load(" 8a3f = Hola \r\n41=A=B"), LoadStatus::Loaded);
    EXPECT_EQ(table.at(1), (ThingyEntry{" 8a3f ", " Hola "}));
    EXPECT_EQ(table.at(2), (ThingyEntry{"41", "A=B"}));
}

TEST_F(ThingyTableLoad, AnEmptyTextEndsTheTableForLookups) {
    ASSERT_EQ(load("41=A\r\n20=\r\n42=B\r\n"), LoadStatus::Loaded);
    EXPECT_EQ(table.at(3).text, "B"); // stored...
    EXPECT_EQ(table.find("B"), 0);    // ...but never found
    EXPECT_EQ(table.find("A"), 1);
    EXPECT_EQ(table.longestTextLength(true), 1);
}

TEST_F(ThingyTableLoad, TheFirstOfDuplicateTextsWins) {
    ASSERT_EQ(load("41=A\r\n61=A\r\n"), LoadStatus::Loaded);
    EXPECT_EQ(table.find("A"), 1);
}

TEST_F(ThingyTableLoad, OverflowIsDroppedForTheOriginalAndAFailureForTheTranslated) {
    std::string content;
    for (int i = 0; i < 5001; ++i)
        content += "00=" + std::to_string(i) + "\r\n";
    content += "/FF\r\n";
    EXPECT_EQ(load(content, TableOverflow::Drop), LoadStatus::Loaded);
    EXPECT_EQ(table.at(5000).text, "4999");
    EXPECT_EQ(table.endCodePosition(), 0);

    ThingyTable translated;
    const std::string path = dir.file("translated.tbl");
    writeBytes(path, content);
    EXPECT_EQ(loadThingyTable(path, translated, TableOverflow::Fail), LoadStatus::Overflow);
    EXPECT_EQ(translated.at(1).text, "0");
    EXPECT_EQ(translated.at(5000).text, "4999");
}

TEST_F(ThingyTableLoad, AnUnreadableFileLeavesTheTableUnchanged) {
    table.set(1, {"41", "A"});
    EXPECT_EQ(loadThingyTable(dir.file("missing.tbl"), table, TableOverflow::Drop), LoadStatus::Unreadable);
    EXPECT_EQ(table.at(1), (ThingyEntry{"41", "A"}));
}

TEST_F(ThingyTableLoad, AnEmptyFileLoadsAsAnEmptyTable) {
    EXPECT_EQ(load(""), LoadStatus::Loaded);
    EXPECT_TRUE(table.at(1).empty());
    EXPECT_EQ(table.longestTextLength(true), 1);
}

TEST(ThingyTable, LongestTextLengthWithAndWithoutCodes) {
    ThingyTable table;
    table.set(1, {"41", "A"});
    table.set(2, {"42", "B"});
    table.set(3, {"FE", "LINE"});
    EXPECT_EQ(table.longestTextLength(true), 4);
    EXPECT_EQ(table.longestTextLength(false), 1);
    table.set(4, {"FF", "END"});
    table.set(5, {"4142", "AB"});
    EXPECT_EQ(table.longestTextLength(false), 2);
}

TEST(ThingyTable, CodesAreFoundAmongAllPositionsPastTheEnd) {
    ThingyTable table;
    table.set(1, {"41", "A"});
    table.set(3, {"FE", "LINE"}); // position 2 is empty: the table ends there for lookups
    table.set(4, {"FF", "END"});
    EXPECT_EQ(table.lineCodePosition(), 3);
    EXPECT_EQ(table.endCodePosition(), 4);
    EXPECT_EQ(std::vector<std::uint8_t>(table.bytesAt(3).begin(), table.bytesAt(3).end()), Bytes{0xFE});
    EXPECT_TRUE(table.bytesAt(2).empty());
    EXPECT_EQ(table.find("LINE"), 0);
}

TEST(ThingyTable, ClearEmptiesEveryPositionAndTheIndex) {
    ThingyTable table;
    table.set(1, {"41", "A"});
    table.set(5000, {"FF", "END"});
    ASSERT_EQ(table.find("A"), 1);
    table.clear();
    EXPECT_EQ(table.find("A"), 0);
    EXPECT_TRUE(table.at(5000).empty());
    EXPECT_EQ(table.endCodePosition(), 0);
}

TEST(ThingyTable, PrefixMatchesComeShortestFirstWithinTheLimit) {
    ThingyTable table;
    table.set(1, {"41", "A"});
    table.set(2, {"4142", "AB"});
    table.set(3, {"414243", "ABC"});
    table.set(4, {"4143", "AC"});
    std::vector<std::pair<int, int>> seen;
    table.forEachPrefixMatch("ABCD", 2, [&](int n, int p) { seen.emplace_back(n, p); });
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1, 1}, {2, 2}}));
    seen.clear();
    table.forEachPrefixMatch("AB", 8, [&](int n, int p) { seen.emplace_back(n, p); });
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1, 1}, {2, 2}}));
}

} // namespace
} // namespace tradumar
