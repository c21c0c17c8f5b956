#include "encoding/script_codec.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "../../fuzz/reference_walk.h"

namespace tradumar::testsupport {
namespace {

ThingyTable makeTable(const std::vector<ThingyEntry>& entries) {
    ThingyTable table;
    for (std::size_t i = 0; i < entries.size(); ++i)
        table.set(static_cast<int>(i) + 1, entries[i]);
    return table;
}

TEST(Codec, CountsAndEncodesTheWorkedExamples) {
    const std::vector<ThingyEntry> letters = {
        {"41", "A"}, {"42", "B"}, {"4142", "AB"}, {"FE", "LINE"}, {"FF", "END"}};
    const std::vector<ThingyEntry> odd = {{"123", "x"}, {"12", "y"}};
    const std::vector<ThingyEntry> pair = {{"41", "A"}, {"42", "B"}, {"90", "AB"}};
    const std::vector<ThingyEntry> codes = {{"0102", "END"}, {"45", "E"}, {"4E", "N"}, {"44", "D"}};
    const std::vector<ThingyEntry> close = {{"41", "A"}, {"42", "B"}, {"3E", ">"}};
    const std::string hundred(100, 'x');
    const auto repeat = [](std::string_view s, int n) {
        std::string out;
        for (int i = 0; i < n; ++i)
            out += s;
        return out;
    };
    const std::string hundredWide = repeat("あ", 100);
    const std::vector<ThingyEntry> symbols = {{"E0", "♪"},    {"E1", "①"},    {"8140", "　"},
                                              {"82A0", "あ"}, {"E4", "▶"},    {"E5", "♪♪"},
                                              {"8140", "α♪"}, {"FE", "LINE"}, {"FF", "END"}};
    struct Case {
        std::vector<ThingyEntry> table;
        std::string text;
        int longest;
        std::int64_t count;
        std::optional<Bytes> bytes; // not checked when empty
        int error = FailureCode::None;
        char32_t left = U'<', right = U'>';
    };
    const Case cases[] = {
        {letters, "ABA", 2, 3, Bytes{0x41, 0x42, 0x41}},
        {letters, "A\r\nB", 4, 3, Bytes{0x41, 0xFE, 0x42}},          // a line break is the line code
        {letters, "A<0A 0B>B", 4, 3, Bytes{0x41, 0x0A, 0x0B, 0x42}}, // a raw block counts one
        {letters, "<A>", 4, 1, Bytes{}},                             // an odd digit count is no block
        {letters, "<END>A", 4, 2, Bytes{0xFF, 0x41}},
        {letters, "<ENDxA", 4, 1, Bytes{0xFF, 0x41}}, // END is taken before any close
        {letters, "A<", 4, 2, Bytes{}, FailureCode::InvalidCall},
        {letters, "A<0A", 4, 2, Bytes{}, FailureCode::Overflow},
        {letters, "A|0A|", 4, 2, Bytes{}, FailureCode::InvalidCall, '|', '|'},
        {letters, "AéB", 4, 2, Bytes{0x41, 0x42}}, // a missing character counts nothing
        {letters, "A\r\n<0A>", 0, 0, Bytes{}},     // no length to try: nothing at all
        {odd, "yyx", 1, 2, Bytes{0x12, 0x12}},     // an odd code never matches: x is missing
        {pair, "AB", 1, 2, Bytes{0x41, 0x42}},     // only lengths up to the longest are tried
        {pair, "AB", 2, 1, Bytes{0x90}},
        {codes, "END", 3, 2, Bytes{0x45, 0x4E, 0x44}}, // the encoder skips END and LINE texts
        {{{"41", "A"}, {"20", " "}}, "A 0B>A", 1, 3, Bytes{0x41, 0x0B, 0x41}, 0, ' ', '>'},
        {{{"E0", "<b>"}, {"41", "A"}}, "<b>A<0C>", 3, 3, Bytes{0xE0, 0x41, 0x0C}},
        {close, "<" + hundred + ">A", 1, 2, {}}, // a close 101 characters on is found...
        {close, "<" + hundred + "BA", 1, 2, {}, FailureCode::Overflow}, // ...one further is not: 102 are
                                                                        // skipped
        {close, "<" + hundred + "x>A", 1, 3, {}},
        {{{"41", "A"}}, std::string(32767, 'A'), 1, 32767, Bytes(32767, 0x41)},
        {{{"41", "A"}}, std::string(40000, 'A'), 1, 40000, Bytes{}, FailureCode::Overflow},
        // Characters, not bytes: multi-byte codes, symbols, lengths and limits.
        {symbols, "♪①α♪♪♪", 2, 5, Bytes{0xE0, 0xE1, 0x81, 0x40, 0xE5}},
        {symbols, "あ　あ", 1, 6, Bytes{0x82, 0xA0, 0x81, 0x40, 0x82, 0xA0}},
        {symbols, "【0A】▶", 1, 2, Bytes{0x0A, 0xE4}, 0, U'【', U'】'},
        {symbols, "【END】", 1, 1, Bytes{0xFF}, 0, U'【', U'】'},
        {symbols, "♪\r\n𝄞♪", 1, 3, Bytes{0xE0, 0xFE, 0xE0}},               // 𝄞 (four bytes) is missing
        {close, "<" + hundredWide + ">A", 1, 2, {}},                       // the window counts characters
        {{{"E0", "♪"}}, repeat("♪", 32767), 1, 32767, Bytes(32767, 0xE0)}, // the limit too
        {{{"E0", "♪"}}, repeat("♪", 32768), 1, 32768, Bytes{}, FailureCode::Overflow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20) + " longest " + std::to_string(c.longest));
        const ThingyTable table = makeTable(c.table);
        const CodecContext context{table, c.longest, c.left, c.right};
        EXPECT_EQ(countTranslatedBytes(c.text, context), c.count);
        const EncodeResult r = encodeScript(
            c.text, context, [](char32_t, int, int) { return MissingAnswer::GoOn; },
            [](std::string_view, int) { return MissingAnswer::GoOn; });
        EXPECT_EQ(r.error, c.error);
        EXPECT_EQ(r.bytes, c.bytes.value_or(r.bytes));
    }
}

// The indexed counter and encoder against the plain walk, on tables and texts
// drawn from a fixed seed: empty texts that end the table, END and LINE
// entries, texts starting with an enclosure or CR, odd codes, raw blocks
// closed and not, every enclosure pair and longest lengths from 0 to 6.
TEST(Codec, AgreesWithThePlainWalkOnManyTablesAndTexts) {
    std::mt19937 rng(20261206);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    // Texts are drawn a character at a time, some of them several bytes long.
    const std::vector<std::string_view> alphabet = {
        "A", "B", "C", "a", "b", " ", "<", ">", "|", "\r", "\n", "é", "ñ",  "E", "N",  "D",  "L",
        "I", "N", "E", "0", "F", "x", "y", "z", "x", "y",  "z",  "♪", "あ", "①", "【", "】", "𝄞"};
    const std::vector<std::string_view> digits = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9",
                                                  "A", "B", "C", "D", "E", "F", "a", "g", " "};
    auto draw = [&](const std::vector<std::string_view>& from, std::size_t maxLength) {
        std::string s;
        for (std::size_t n = pick(maxLength + 1); n > 0; --n)
            s += from[pick(from.size())];
        return s;
    };
    ThingyTable table;
    for (int round = 0; round < 20000; ++round) {
        const int entries = 1 + static_cast<int>(pick(40));
        auto entry = [&] {
            const std::string texts[] = {"END",
                                         "LINE",
                                         pick(3) ? "A" : "",
                                         "<" + draw(alphabet, 3),
                                         "\r" + draw(alphabet, 2),
                                         draw(alphabet, 4)};
            return ThingyEntry{draw(digits, 6), texts[std::min<std::size_t>(pick(10), 5)]};
        };
        for (int p = 1; p <= 40; ++p)
            table.set(p, p > entries ? ThingyEntry{} : entry()); // an empty text ends the table
        std::string text = draw(alphabet, pick(10) == 0 ? 260 : 60);
        // Inserted between two characters, never inside one.
        const auto insert = [&](const std::string& piece) {
            std::size_t at = pick(text.size() + 1);
            while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
                ++at;
            text.insert(at, piece);
        };
        if (pick(2) == 0)
            insert("<0A 1" + std::string(pick(2) ? ">" : "") + "x");
        if (pick(3) == 0)
            insert("<END>");
        if (pick(3) == 0)
            insert("\r\n");
        const char32_t enclosures[] = {U'<', U'>', U'|', U' ', U'【', U'】'};
        const char32_t left = pick(8) == 0 ? enclosures[pick(6)] : U'<';
        const char32_t right = pick(8) == 0 ? enclosures[pick(6)] : U'>';
        const CodecContext context{table, static_cast<int>(pick(7)), left, right};
        SCOPED_TRACE("round " + std::to_string(round));

        ASSERT_EQ(countTranslatedBytes(text, context), reference::count(text, context));
        // Both sides answer the missing-character questions alike: stop at the third.
        std::vector<int> askedIndexed, askedWalk;
        auto answers = [](std::vector<int>& asked) {
            return [&asked](char32_t, int position, int) {
                asked.push_back(position);
                return asked.size() >= 3 ? MissingAnswer::Stop : MissingAnswer::GoOn;
            };
        };
        // Invalid blocks are stepped over at odd positions and stop at even ones.
        const auto blocks = [](std::string_view, int position) {
            return position % 2 ? MissingAnswer::GoOn : MissingAnswer::Stop;
        };
        const EncodeResult indexed = encodeScript(text, context, answers(askedIndexed), blocks);
        const EncodeResult walk = reference::encode(text, context, answers(askedWalk), blocks);
        ASSERT_EQ(indexed.error, walk.error);
        ASSERT_EQ(indexed.stoppedAt, walk.stoppedAt);
        ASSERT_EQ(indexed.stoppedLength, walk.stoppedLength);
        ASSERT_EQ(indexed.bytes, walk.bytes);
        ASSERT_EQ(askedIndexed, askedWalk);
    }
}

// Raw blocks that are not hexadecimal digit pairs, an end code the table
// lacks and table codes that are not digit pairs never write bytes: they are
// asked about (blocks) or never match (codes).
TEST(Codec, NothingThatCannotBeWrittenIsWrittenSilently) {
    const ThingyTable table = makeTable({{"41", "A"}, {"ZZ", "hola"}, {"12345", "B"}, {"4 2", "B"}});
    std::vector<std::pair<std::string, int>> asked;
    const auto ask = [&](MissingAnswer answer) {
        return [&asked, answer](std::string_view block, int position) {
            asked.emplace_back(block, position);
            return answer;
        };
    };
    const EncodeResult r =
        encodeScript("A<0G>A< 0a 0B >AB<0A0>A<END>hola<>", {table, 4}, {}, ask(MissingAnswer::GoOn));
    EXPECT_EQ(r.bytes, (Bytes{0x41, 0x41, 0x0A, 0x0B, 0x41, 0x42, 0x41}));
    EXPECT_EQ(asked, (std::vector<std::pair<std::string, int>>{
                         {"<0G>", 2}, {"<0A0>", 18}, {"<END>", 24}, {"<>", 33}}));
    const EncodeResult stopped = encodeScript("AB<0G>", {table, 4}, {});
    EXPECT_EQ(std::pair(stopped.stoppedAt, stopped.stoppedLength), std::pair(3, 4));
    EXPECT_TRUE(stopped.bytes.empty());
}

// The question names a character by its Windows-1252 code where it has one,
// by its code point otherwise, at its position in characters.
TEST(Codec, TheMissingCharacterQuestionCountsCharacters) {
    const ThingyTable table = makeTable({{"41", "A"}});
    std::vector<std::tuple<char32_t, int, int>> asked;
    encodeScript("Aé€\r\n♪A𝄞ü", {table, 1}, [&](char32_t c, int position, int code) {
        asked.emplace_back(c, position, code);
        return MissingAnswer::GoOn;
    });
    const std::vector<std::tuple<char32_t, int, int>> expected = {
        {U'é', 2, 0xE9}, {U'€', 3, 0x80}, {U'♪', 6, 0x266A}, {U'𝄞', 8, 0x1D11E}, {U'ü', 9, 0xFC}};
    EXPECT_EQ(asked, expected);
}

} // namespace
} // namespace tradumar::testsupport
