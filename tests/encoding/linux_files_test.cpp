// Files made on Linux: LF line ends and UTF-8 text, read as Windows-1252.
#include "encoding/text_file.h"

#include <gtest/gtest.h>

#include "encoding/thingy_table.h"
#include "support/temp_dir.h"

namespace tradumar::testsupport {
namespace {

TEST(LinuxFiles, Utf8IsConvertedWhenClearlyUtf8AndEveryCharacterFits) {
    const struct {
        std::string_view file, text;
        char32_t unfit = 0;
    } cases[] = {
        {"\xEF\xBB\xBFHola", "Hola"},                                           // the mark alone says UTF-8
        {"Se\xC3\xB1or \xE2\x82\xAC\xC5\x93\xC2\x81", "Se\xF1or \x80\x9C\x81"}, // 80-9F, undefined 81
        {"caf\xE9 \xC3\xA1", "caf\xE9 \xC3\xA1"}, // invalid UTF-8: kept as it is
        {"\xC0\xA1", "\xC0\xA1"},                 // an overlong form is not UTF-8
        {"Gr\xC3\xBC\xC3\x9F \xC5\x91", "", 0x151},
        {"\xEF\xBB\xBF\xE1", "", 0xFFFD}, // marked, yet broken
    };
    for (const auto& c : cases) {
        const Windows1252Text read = toWindows1252(c.file);
        EXPECT_EQ(read.status, c.unfit ? TextFileStatus::NotWindows1252 : TextFileStatus::Read) << c.file;
        EXPECT_EQ(read.text, c.text);
        EXPECT_EQ(read.character, c.unfit);
    }
}

TEST(LinuxFiles, APublicStyleTableLoads) {
    TempDir dir;
    const std::string path = dir.file("public.tbl");
    writeBytes(path, "# Tabla hecha en Linux\n41=A\nA0=\xC3\xA1\nB0=qu\xC3\xA9\n*FE\n/FF\n");
    ThingyTable table;
    ASSERT_EQ(loadThingyTable(path, table, TableOverflow::Fail), LoadStatus::Loaded);
    const ThingyEntry expected[] = {{"41", "A"},    {"A0", "\xE1"}, {"B0", "qu\xE9"},
                                    {"FE", "LINE"}, {"FF", "END"},  {}};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(table.at(i + 1), expected[i]) << i + 1;

    // A character the code page lacks: named, and the table is left as it was.
    writeBytes(path, "41=A\nA0=\xC5\x91\n");
    char32_t unfit = 0;
    EXPECT_EQ(loadThingyTable(path, table, TableOverflow::Fail, &unfit), LoadStatus::NotWindows1252);
    EXPECT_EQ(unfit, 0x151u);
    EXPECT_EQ(table.at(2), expected[1]);
}

} // namespace
} // namespace tradumar::testsupport
