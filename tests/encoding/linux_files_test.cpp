// Files made on Linux: LF line ends and UTF-8 text, read into the program's
// Windows-1252 lines.
#include "encoding/text_file.h"

#include <gtest/gtest.h>

#include "encoding/thingy_table.h"
#include "support/temp_dir.h"
#include "workspace/script_files.h"

namespace tradumar {
namespace {

using testing::TempDir;
using testing::writeBytes;

TEST(LinuxFiles, Utf8IsConvertedWhenItIsClearlyUtf8AndEveryCharacterFits) {
    struct Case {
        std::string_view file;
        TextFileStatus status;
        std::string_view text;
        char32_t character = 0;
    };
    const Case cases[] = {
        {"plain ASCII", TextFileStatus::Read, "plain ASCII"},
        {"\xEF\xBB\xBFHola", TextFileStatus::Read, "Hola"}, // the mark alone says UTF-8
        {"Se\xC3\xB1or \xE2\x82\xAC\xC5\x93", TextFileStatus::Read, "Se\xF1or \x80\x9C"}, // €, œ from 80-9F
        {"\xC2\x81\xC2\x9D", TextFileStatus::Read, "\x81\x9D"},         // undefined bytes as controls
        {"caf\xE9 na\xEFve", TextFileStatus::Read, "caf\xE9 na\xEFve"}, // not UTF-8: kept
        {"\xC3\xA1 y \xE1", TextFileStatus::Read, "\xC3\xA1 y \xE1"},   // invalid UTF-8: kept
        {"\xC0\xA1", TextFileStatus::Read, "\xC0\xA1"},                 // overlong form: not UTF-8
        {"Gr\xC3\xBC\xC3\x9F \xC5\x91", TextFileStatus::NotWindows1252, "", 0x151},
        {"\xC2\x80", TextFileStatus::NotWindows1252, "", 0x80},
        {"\xF0\x9F\x98\x80", TextFileStatus::NotWindows1252, "", 0x1F600},
        {"\xEF\xBB\xBF\xE1", TextFileStatus::NotWindows1252, "", 0xFFFD}, // marked, yet broken
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file));
        const Windows1252Text read = toWindows1252(c.file);
        EXPECT_EQ(read.status, c.status);
        EXPECT_EQ(read.text, c.text);
        EXPECT_EQ(read.character, c.character);
    }
}

TEST(LinuxFiles, LinesEndAtCrLfCrOrLf) {
    using Lines = std::vector<std::string_view>;
    EXPECT_EQ(splitTextLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(splitTextLines("a\n\nb\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(splitTextLines("\n\r\r\n"), (Lines{"", "", ""}));
    EXPECT_EQ(splitTextLines(""), Lines{});
}

TEST(LinuxFiles, APublicStyleTableLoadsEntryByEntry) {
    TempDir dir;
    const std::string path = dir.file("public.tbl");
    writeBytes(path, "# Tabla para el juego\n# hecha en Linux\n41=A\n20= \nA0=\xC3\xA1\nA1=\xC3\xB1\n"
                     "B0=qu\xC3\xA9\n*FE\n/FF\n");
    ThingyTable table;
    ASSERT_EQ(loadThingyTable(path, table, TableOverflow::Fail), LoadStatus::Loaded);
    const ThingyEntry expected[] = {{"41", "A"},      {"20", " "},    {"A0", "\xE1"}, {"A1", "\xF1"},
                                    {"B0", "qu\xE9"}, {"FE", "LINE"}, {"FF", "END"}};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(table.at(i + 1), expected[i]) << i + 1;
    EXPECT_TRUE(table.at(8).empty());
    EXPECT_EQ(table.longestTextLength(false), 3);

    // A character the code page lacks: the table is left as it was, and the
    // character is named.
    writeBytes(path, "41=A\nA0=\xC5\x91\n");
    char32_t unfit = 0;
    EXPECT_EQ(loadThingyTable(path, table, TableOverflow::Fail, &unfit), LoadStatus::NotWindows1252);
    EXPECT_EQ(unfit, 0x151u);
    EXPECT_EQ(table.at(3), (ThingyEntry{"A0", "\xE1"}));
}

TEST(LinuxFiles, ScriptsFromLinuxJoinWithCrLfAsWindows1252) {
    TempDir dir;
    const std::string path = dir.file("1A[10].txt");
    writeBytes(path, "\xEF\xBB\xBF\xC2\xBFQu\xC3\xA9 tal?\n<0A>Adi\xC3\xB3s\n");
    EXPECT_EQ(readJoinedText(path), std::optional<std::string>("\xBFQu\xE9 tal?\r\n<0A>Adi\xF3s"));
    writeBytes(path, "\xE2\x86\x92 no cabe\n");
    const Windows1252Text read = readScriptText(path);
    EXPECT_EQ(read.status, TextFileStatus::NotWindows1252);
    EXPECT_EQ(read.character, 0x2192u);
    EXPECT_EQ(readJoinedText(path), std::nullopt);
    EXPECT_EQ(readScriptText(dir.file("missing.txt")).status, TextFileStatus::Unreadable);
}

} // namespace
} // namespace tradumar
