#include "encoding/conversions.h"

#include <gtest/gtest.h>

namespace tradumar {
namespace {

TEST(HexToLong, ReadsDigitsEachAtItsOwnPlace) {
    struct Case {
        const char* text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"", 0},
        {"0", 0},
        {"1A2B3C", 1715004},
        {"1a2b3c", 1715004},
        {"7fffffff", 2147483647},
        {"0x1A", 26},
        {"1 A", 266},
        {"FF", 255},
        {"00000000000000000000000001", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto result = hexToLong(c.text);
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result.value, c.value);
    }
}

TEST(HexToLong, CountsOnlyHexDigitsButKeepsEveryPlace) {
    // In "script1" only c (at 16^5) and 1 (at 16^0) are digits.
    EXPECT_EQ(hexToLong("script1").value, 0xC * 0x100000 + 1);
}

TEST(HexToLong, FailsWithOverflowPastTheSigned32BitRange) {
    for (const char* text :
         {"80000000", "FFFFFFFF", "100000000", "1000000000000000000000000000000000000000"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(hexToLong(text).error, FailureCode::Overflow);
    }
    // A long run of digits with a non-zero digit far to the left cannot fit.
    EXPECT_EQ(hexToLong("1" + std::string(400, '0')).error, FailureCode::Overflow);
    // Zeros at any place add nothing, however far out.
    EXPECT_EQ(hexToLong(std::string(400, '0') + "2").value, 2);
}

TEST(HexToBytes, TakesDigitPairsAfterRemovingBlanks) {
    EXPECT_EQ(hexToBytes("8A 3F"), (Bytes{0x8A, 0x3F}));
    EXPECT_EQ(hexToBytes("8a3f"), (Bytes{0x8A, 0x3F}));
    EXPECT_EQ(hexToBytes(" 0 A 0B "), (Bytes{0x0A, 0x0B}));
    EXPECT_EQ(hexToBytes("8A3"), Bytes{});
    EXPECT_EQ(hexToBytes("A"), Bytes{});
    EXPECT_EQ(hexToBytes(""), Bytes{});
    // A non-digit counts as 0 in its place.
    EXPECT_EQ(hexToBytes("G1Z0"), (Bytes{0x01, 0x00}));
    // Only the space is a blank here; a tab is a character of its own.
    EXPECT_EQ(hexToBytes("0\tA"), Bytes{});
}

TEST(ParseInt16, AcceptsTheProgramsNumberForms) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {
        {"0", 0},       {"3", 3},         {" 12 ", 12},       {"\t7", 7},         {"-1", -1},
        {"+5", 5},      {"32767", 32767}, {"-32768", -32768}, {"&H10", 16},       {"&hff", 255},
        {"-&H10", -16}, {"2.5", 2},       {"3.5", 4},         {"2.51", 3},        {"-2.5", -2},
        {".5", 0},      {"1.49", 1},      {"0007", 7},        {"32766.6", 32767}, {"-32768.5", -32768},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto value = parseInt16(c.text);
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(*value, c.value);
    }
}

TEST(ParseInt16, RejectsEmptyNonNumericAndOutOfRangeText) {
    for (const char* text : {"", "   ", "abc", "12a", "1 2", "&H", "&HG", "-", ".", "32768", "-32769",
                             "32767.5", "&H8000", "99999999999999999999", "1e2x"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(parseInt16(text).has_value());
    }
}

TEST(ScriptFileName, GivesAddressAndOriginalSize) {
    EXPECT_EQ(scriptAddress("1A2B3C[120].txt").value, 1715004);
    EXPECT_EQ(*originalByteCount("1A2B3C[120].txt"), 120);
    EXPECT_EQ(scriptAddress("1a2b3c[120].txt").value, 1715004);
    EXPECT_EQ(scriptAddressText("1a2b3c[120].txt"), "1a2b3c");
    EXPECT_EQ(scriptAddress("[12].txt").value, 0);
    EXPECT_EQ(*originalByteCount("0[ 64 ].txt"), 64);
    EXPECT_EQ(*originalByteCount("10[&H20].txt"), 32);
}

TEST(ScriptFileName, ReportsUnusableNames) {
    EXPECT_EQ(scriptAddress("script.txt").error, FailureCode::InvalidCall);
    EXPECT_EQ(scriptAddress("").error, FailureCode::InvalidCall);
    EXPECT_EQ(scriptAddress("80000000[1].txt").error, FailureCode::Overflow);
    EXPECT_FALSE(originalByteCount("1A[abc].txt").has_value());
    EXPECT_FALSE(originalByteCount("1A[].txt").has_value());
    EXPECT_FALSE(originalByteCount("1A[40000].txt").has_value());
    EXPECT_FALSE(originalByteCount("[.txt").has_value());
    EXPECT_FALSE(originalByteCount("").has_value());
    // Without "[" the number is read from the first character.
    EXPECT_EQ(*originalByteCount("120].txt"), 120);
}

} // namespace
} // namespace tradumar
