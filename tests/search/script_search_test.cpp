#include "search/script_search.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace tradumar::testsupport {
namespace {

constexpr auto Windows1252 = LegacyCodePage::Windows1252;
constexpr auto ShiftJis = LegacyCodePage::ShiftJis;

// "ヴァルの剣" in Shift-JIS.
constexpr const char* kShiftJisSword = "\x83\x94\x83\x40\x83\x8B\x82\xCC\x8C\x95";

TEST(ScriptSearch, MatchesTheJoinedTextInNfcExactlyAndShowsItUpToItsFirstTab) {
    struct Case {
        std::string content;
        LegacyCodePage legacy;
        const char* word;
        const char* row; // nullptr: no hit
    };
    // Letter case, blanks, leading empty lines, the order and unreadable files are the window's tests.
    const Case cases[] = {
        {"uno\tHola\r\ndos", Windows1252, "Hola", "uno"}, // tested whole, shown up to the tab
        {"uno\rdos\r\n\r\n", Windows1252, "uno\r\ndos", "uno\r\ndos\r\n"}, // a lone CR ends a line
        {"Ho\r\nla", Windows1252, "Hola", nullptr},
        {"", Windows1252, "Ho", nullptr},
        // Windows-1252 files, as made on Windows.
        {"caf\xE9 <0A>\r\n", Windows1252, "é <", "café <0A>"},
        {"canci\xF3n\r\n", Windows1252, "canción", "canción"},
        {"canci\xF3n \x93\xBFs\xED?\x94", Windows1252, "♪", nullptr},
        // Japanese originals in Shift-JIS and in UTF-8.
        {kShiftJisSword, ShiftJis, "ヴァル", "ヴァルの剣"},
        {kShiftJisSword, Windows1252, "ヴァル", nullptr},
        {"\x83\x5Az", ShiftJis, "Zz", nullptr}, // "セz": the Z is half of セ
        {"ヴァルの剣♪①", Windows1252, "の剣♪", "ヴァルの剣♪①"},
        {"\xEF\xBB\xBFヴァル", ShiftJis, "ヴァル", "ヴァル"},
        {"\xEF\xBB\xBFHola \xFF", Windows1252, "Hola", nullptr}, // marked UTF-8 that does not decode
        // Both the word and the file are compared in NFC.
        {"cafe\u0301", Windows1252, "café", "café"},
        {"café", Windows1252, "cafe\u0301", "café"},
        {"cafe\u0301", Windows1252, "cafe", nullptr},
        {"O\u212A", Windows1252, "OK", "OK"}, // the Kelvin sign is K
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content + " / " + c.word);
        writeBytes(dir.file("s.txt"), c.content);
        const std::vector<SearchHit> hits = searchScripts(dir.path().string(), {"s.txt"}, c.word, c.legacy);
        ASSERT_EQ(hits.size(), c.row ? 1u : 0u);
        if (c.row) {
            EXPECT_EQ(hits[0], (SearchHit{0, "s.txt", c.row}));
        }
    }
}

} // namespace
} // namespace tradumar::testsupport
