// Reading and writing text files: UTF-8 with or without a byte-order mark,
// Windows-1252 or Shift-JIS otherwise, any line ends, NFC on the way in; and
// the choice between Windows-1252 and UTF-8 on the way out.
#include "encoding/text_file.h"

#include <gtest/gtest.h>

#include "encoding/thingy_table.h"
#include "support/temp_dir.h"

namespace tradumar::testsupport {
namespace {

constexpr auto k1252 = LegacyCodePage::Windows1252;
constexpr auto kSjis = LegacyCodePage::ShiftJis;

TEST(TextFile, EachEncodingIsReadAsTheRulesSay) {
    const struct {
        std::string_view file;
        LegacyCodePage legacy;
        std::string_view text;
    } cases[] = {
        {"\xEF\xBB\xBFHola \xE2\x99\xAA", k1252, "Hola ♪"},               // the mark says UTF-8
        {"Se\xC3\xB1or \xE2\x91\xA0\xCE\xB1", kSjis, "Señor ①α"},         // valid UTF-8 wins over either page
        {"caf\xE9 \x80\x81\x9C", k1252, "café €\u0081œ"},                 // 1252, undefined 81 kept as U+0081
        {"\x82\xA0\x82\xA2\x81\x40\x83\x94\x81\xF4", kSjis, "あい　ヴ♪"}, // Shift-JIS, full-width blank
        {"\xC0\xA1", k1252, "À¡"},                                        // an overlong form is not UTF-8
        // Starts like UTF-8 ("é" as C3 A9), breaks later: the whole file is 1252.
        {"\xC3\xA9t\xE9", k1252, "Ã©té"},
        {"e\xCC\x81 A\xCC\x8A", k1252, "é Å"}, // decomposed characters come out composed
    };
    for (const auto& c : cases) {
        const DecodedText read = decodeTextFile(c.file, c.legacy);
        EXPECT_EQ(read.status, TextFileStatus::Read) << c.file;
        EXPECT_EQ(read.text, c.text) << c.file;
    }
}

TEST(TextFile, ABrokenFileNamesItsFirstBadByte) {
    const struct {
        std::string_view file;
        LegacyCodePage legacy;
        std::size_t offset;
        unsigned char byte;
    } cases[] = {
        {"\xEF\xBB\xBFok\xE1", k1252, 5, 0xE1}, // marked as UTF-8, yet broken
        {"\x82\xA0 ab\xA0", kSjis, 5, 0xA0},    // a byte Shift-JIS does not use
        {"\x82\xA0 ab\x82", kSjis, 5, 0x82},    // a lead byte without its trail, at the end
        {"\x82\xA0\x82\x20", kSjis, 2, 0x82},   // a lead byte followed by a blank
    };
    for (const auto& c : cases) {
        const DecodedText read = decodeTextFile(c.file, c.legacy);
        EXPECT_EQ(read.status, TextFileStatus::Undecodable) << c.file;
        EXPECT_EQ(read.badOffset, c.offset) << c.file;
        EXPECT_EQ(read.badByte, c.byte) << c.file;
        EXPECT_TRUE(read.text.empty());
    }
}

TEST(TextFile, WritesWindows1252WhenEveryCharacterFitsAndUtf8Otherwise) {
    const struct {
        std::string_view text, bytes;
    } cases[] = {
        {"Hola\r\n", "Hola\r\n"},
        {"Señor, ¿qué tal? €", "Se\xF1or, \xBFqu\xE9 tal? \x80"},
        {"Ir ▶ ♪", "\xEF\xBB\xBFIr \xE2\x96\xB6 \xE2\x99\xAA"},
        // In Windows-1252 these two would read back as "é": UTF-8 keeps them.
        {"Ã©", "\xEF\xBB\xBF\xC3\x83\xC2\xA9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(textFileBytes(c.text), c.bytes) << c.text;
        EXPECT_EQ(decodeTextFile(textFileBytes(c.text), k1252).text, c.text) << c.text;
    }
    // A Shift-JIS project writes Shift-JIS while every character fits, so its
    // files read back as they were written.
    EXPECT_EQ(textFileBytes("あ　ヴ", kSjis), "\x82\xA0\x81\x40\x83\x94");
    EXPECT_EQ(textFileBytes("あé", kSjis), "\xEF\xBB\xBFあé");
}

TEST(TextFile, TablesWithSymbolsAndMultiByteCodesLoadInEveryEncoding) {
    TempDir dir;
    const std::string path = dir.file("símbolos.tbl");
    const ThingyEntry expected[] = {
        {"41", "A"}, {"8140", "　"}, {"82A0", "あ"}, {"E0", "♪"},   {"E1", "①"}, {"E2", "α"},
        {"E3", "└"}, {"E4", "▶"},    {"FE", "LINE"}, {"FF", "END"}, {}};
    const std::string utf8 =
        "# Hecha en Linux\n41=A\n8140=\xE3\x80\x80\n82A0=\xE3\x81\x82\nE0=\xE2\x99\xAA\nE1=\xE2\x91\xA0\n"
        "E2=\xCE\xB1\nE3=\xE2\x94\x94\nE4=\xE2\x96\xB6\n*FE\n/FF\n";
    const std::string shiftJis = "41=A\r\n8140=\x81\x40\r\n82A0=\x82\xA0\r\nE0=\x81\xF4\r\nE1=\x87\x40\r\n"
                                 "E2=\x83\xBF\r\nE3=\x84\xA4\r\n*FE\r\n/FF\r\n";
    for (const auto& [content, legacy] : {std::pair{utf8, k1252}, std::pair{shiftJis, kSjis}}) {
        writeBytes(path, content);
        ThingyTable table;
        ASSERT_EQ(loadThingyTable(path, table, TableOverflow::Fail, legacy).status, LoadStatus::Loaded);
        // The Shift-JIS table has no ▶ (the eighth entry).
        for (int i = 0; i < (legacy == k1252 ? 8 : 7); ++i)
            EXPECT_EQ(table.at(i + 1), expected[i]) << i + 1;
        EXPECT_EQ(table.longestTextLength(false), 1);
    }

    // A byte neither UTF-8 nor Shift-JIS: named, and the table is left as it was.
    ThingyTable table;
    table.set(1, {"41", "A"});
    writeBytes(path, "42=B\n43=\x82\n");
    const TableLoad load = loadThingyTable(path, table, TableOverflow::Fail, kSjis);
    EXPECT_EQ(load.status, LoadStatus::Undecodable);
    EXPECT_EQ(load.badOffset, 8u);
    EXPECT_EQ(table.at(1), (ThingyEntry{"41", "A"}));
}

} // namespace
} // namespace tradumar::testsupport
