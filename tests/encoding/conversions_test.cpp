#include "encoding/conversions.h"

#include <gtest/gtest.h>

namespace tradumar::testsupport {
namespace {

TEST(HexToLong, EveryCharacterKeepsItsPlaceAndValuesPast31BitsOverflow) {
    const std::pair<std::string, Result<std::int32_t>> cases[] = {
        {"", {0}},
        {"1a2B3C", {1715004}},
        {"1 A", {266}},                    // a non-digit still takes its place
        {"script1", {0xC * 0x100000 + 1}}, // only c and 1 are digits
        {"7fffffff", {2147483647}},
        {std::string(400, '0') + "2", {2}}, // zeros add nothing, however far out
        {"80000000", Result<std::int32_t>::failure(FailureCode::Overflow)},
        {"1" + std::string(400, '0'), Result<std::int32_t>::failure(FailureCode::Overflow)},
    };
    for (const auto& [text, expected] : cases) {
        const Result<std::int32_t> got = hexToLong(text);
        EXPECT_EQ(got.error, expected.error) << text;
        EXPECT_EQ(got.value, expected.value) << text;
    }
}

TEST(HexToBytes, TakesDigitPairsAfterRemovingBlanks) {
    const std::pair<const char*, Bytes> cases[] = {
        {"8A 3F", {0x8A, 0x3F}},
        {"8a3f", {0x8A, 0x3F}},
        {" 0 A 0B ", {0x0A, 0x0B}},
        {"8A3", {}},
        {"G1Z0", {0x01, 0x00}}, // a non-digit is 0 in its place
        {"0\tA", {}},           // only the space is a blank
    };
    for (const auto& [text, bytes] : cases)
        EXPECT_EQ(hexToBytes(text), bytes) << text;
}

TEST(ParseInt16, ReadsTheProgramsNumberFormsAndNothingElse) {
    const std::pair<const char*, std::optional<std::int16_t>> cases[] = {
        {" 12 ", 12},    {"\t7", 7},       {"-1", -1},
        {"+5", 5},       {"32767", 32767}, {"-32768", -32768},
        {"&H10", 16},    {"&hff", 255},    {"-&H10", -16},
        {"2.5", 2},      {"3.5", 4},       {"2.51", 3},
        {"-2.5", -2},    {".5", 0},        {"32766.6", 32767},
        {"", {}},        {"abc", {}},      {"12a", {}},
        {"1 2", {}},     {"&H", {}},       {"-", {}},
        {".", {}},       {"32768", {}},    {"-32769", {}},
        {"32767.5", {}}, {"&H8000", {}},   {"99999999999999999999", {}},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(parseInt16(text), value) << text;
}

TEST(ScriptFileName, GivesAddressFromTheFirstBracketAndTheOriginalSize) {
    struct Case {
        const char* name;
        Result<std::int32_t> address;
        const char* addressText;
        std::optional<std::int16_t> size;
    };
    const Result<std::int32_t> invalid = Result<std::int32_t>::failure(FailureCode::InvalidCall);
    const Case cases[] = {
        {"1A2B3C[120].txt", {1715004}, "1A2B3C", 120},
        {"1a2b3c[&H20].txt", {1715004}, "1a2b3c", 32},
        {"10[5]A[2].txt", {16}, "10", {}},
        {"[12].txt", {0}, "", 12},
        {"0[ 64 ].txt", {0}, "0", 64},
        {"80000000[1].txt", Result<std::int32_t>::failure(FailureCode::Overflow), "80000000", 1},
        {"1A[40000].txt", {26}, "1A", {}},
        {"120].txt", invalid, "120].txt", 120}, // without "[" the size starts at the first character
        {"", invalid, "", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(scriptAddress(c.name).error, c.address.error) << c.name;
        EXPECT_EQ(scriptAddress(c.name).value, c.address.value) << c.name;
        EXPECT_EQ(scriptAddressText(c.name), c.addressText) << c.name;
        EXPECT_EQ(originalByteCount(c.name), c.size) << c.name;
    }
}

} // namespace
} // namespace tradumar::testsupport
