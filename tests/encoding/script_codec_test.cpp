#include "encoding/script_codec.h"

#include <gtest/gtest.h>

#include <random>

#include "encoding/reference_walk.h"

namespace tradumar {
namespace {

ThingyTable makeTable(std::initializer_list<ThingyEntry> entries) {
    ThingyTable table;
    int position = 1;
    for (const auto& e : entries)
        table.set(position++, e);
    return table;
}

// The table of the worked examples: single letters, a pair, a line and an end code.
class CodecExamples : public ::testing::Test {
protected:
    ThingyTable table = makeTable({{"41", "A"}, {"42", "B"}, {"4142", "AB"}, {"FE", "LINE"}, {"FF", "END"}});
    CodecContext counter{table, 2, '<', '>'};
    CodecContext encoder{table, 4, '<', '>'};

    Bytes encode(std::string_view text) {
        const EncodeResult r = encodeScript(text, encoder, nullptr);
        EXPECT_TRUE(r.ok());
        return r.bytes;
    }
};

TEST_F(CodecExamples, TheLongestMatchWins) {
    EXPECT_EQ(encode("AB"), (Bytes{0x41, 0x42}));
    EXPECT_EQ(countTranslatedBytes("AB", counter), 2);
    EXPECT_EQ(countTranslatedBytes("ABA", counter), 3);
}

TEST_F(CodecExamples, ALineBreakIsTheLineCode) {
    EXPECT_EQ(encode("A\r\nB"), (Bytes{0x41, 0xFE, 0x42}));
    EXPECT_EQ(countTranslatedBytes("A\r\nB", counter), 3);
}

TEST_F(CodecExamples, RawBlocksAreWrittenAsTheyStandAndCountOne) {
    EXPECT_EQ(encode("<0A>"), (Bytes{0x0A}));
    EXPECT_EQ(encode("<0A0B>"), (Bytes{0x0A, 0x0B}));
    EXPECT_EQ(encode("<0A 0B>"), (Bytes{0x0A, 0x0B}));
    EXPECT_EQ(encode("<A>"), Bytes{});
    EXPECT_EQ(encode("<>"), Bytes{});
    EXPECT_EQ(encode("A<0A>B"), (Bytes{0x41, 0x0A, 0x42}));
    for (const char* text : {"<0A>", "<0A0B>", "<0A 0B>", "<A>", "<>", "<END>"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(countTranslatedBytes(text, counter), 1);
    }
}

TEST_F(CodecExamples, AnEndBlockIsTheEndCodeAndEncodingGoesOnAfterIt) {
    EXPECT_EQ(encode("<END>A"), (Bytes{0xFF, 0x41}));
    // "END" is recognised as soon as the character after it is read, closed or not.
    EXPECT_EQ(encode("<ENDxA"), (Bytes{0xFF, 0x41}));
}

TEST_F(CodecExamples, BrokenRawBlocksFail) {
    EXPECT_EQ(encodeScript("A<", encoder, nullptr).error, FailureCode::InvalidCall);
    EXPECT_EQ(encodeScript("A<0A", encoder, nullptr).error, FailureCode::Overflow);
    EXPECT_EQ(encodeScript("<END", encoder, nullptr).error, FailureCode::Overflow);
    CodecContext same{table, 4, '|', '|'};
    EXPECT_EQ(encodeScript("A|0A|", same, nullptr).error, FailureCode::InvalidCall);
    EXPECT_TRUE(encodeScript("A|0A|", same, nullptr).bytes.empty());
}

TEST(Codec, TheCounterGivesUpLookingForTheCloseAfter101Characters) {
    ThingyTable table = makeTable({{"41", "A"}, {"42", "B"}, {"3E", ">"}});
    CodecContext counter{table, 1, '<', '>'};
    // A close 101 characters on is found, and counting goes on after it.
    EXPECT_EQ(countTranslatedBytes("<" + std::string(100, 'x') + ">A", counter), 2);
    // One further is not: the counter skips 102 characters and counts on from there.
    EXPECT_EQ(countTranslatedBytes("<" + std::string(100, 'x') + "BA", counter), 2);
    EXPECT_EQ(countTranslatedBytes("<" + std::string(101, 'x') + ">A", counter), 3);
}

TEST_F(CodecExamples, MissingCharactersCountNothingAndAreAskedAbout) {
    EXPECT_EQ(countTranslatedBytes("A\xE9"
                                   "B",
                                   counter),
              2);
    std::vector<std::tuple<char, int, int>> asked;
    const EncodeResult r = encodeScript("A\xE9"
                                        "B\xE9",
                                        encoder, [&](char c, int position, int code) {
                                            asked.emplace_back(c, position, code);
                                            return MissingAnswer::GoOn;
                                        });
    EXPECT_EQ(r.bytes, (Bytes{0x41, 0x42}));
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], std::make_tuple('\xE9', 2, 233));
    EXPECT_EQ(asked[1], std::make_tuple('\xE9', 4, 233));

    const EncodeResult stopped = encodeScript("AB\xE9"
                                              "A",
                                              encoder, [](char, int, int) { return MissingAnswer::Stop; });
    EXPECT_TRUE(stopped.stopped());
    EXPECT_EQ(stopped.stoppedAt, 3);
    EXPECT_TRUE(stopped.bytes.empty());
}

TEST(Codec, OddDigitCountsAddOneAndAHalfRoundedToEven) {
    ThingyTable table = makeTable({{"123", "x"}, {"12", "y"}});
    CodecContext counter{table, 1, '<', '>'};
    EXPECT_EQ(countTranslatedBytes("x", counter), 2);   // 0 + 1.5 -> 2
    EXPECT_EQ(countTranslatedBytes("yx", counter), 2);  // 1 + 1.5 -> 2
    EXPECT_EQ(countTranslatedBytes("yyx", counter), 4); // 2 + 1.5 -> 4
    EXPECT_TRUE(encodeScript("x", counter, nullptr).bytes.empty());
}

TEST(Codec, ABlankLeftEnclosureOpensABlockAtEveryBlank) {
    ThingyTable table = makeTable({{"41", "A"}, {"20", " "}});
    CodecContext context{table, 1, ' ', '>'};
    EXPECT_EQ(countTranslatedBytes("A A", context), 2);
    EXPECT_EQ(encodeScript("A 0B>A", context, nullptr).bytes, (Bytes{0x41, 0x0B, 0x41}));
}

TEST(Codec, EntriesStartingWithAnEnclosureWinAtTheirOwnLength) {
    ThingyTable table = makeTable({{"E0", "<b>"}, {"41", "A"}});
    CodecContext context{table, 3, '<', '>'};
    EXPECT_EQ(encodeScript("<b>A<0C>", context, nullptr).bytes, (Bytes{0xE0, 0x41, 0x0C}));
    EXPECT_EQ(countTranslatedBytes("<b>A<0C>", context), 3);
}

TEST(Codec, TheEncoderSkipsEndAndLineTextsButTheCounterLooksThemUp) {
    ThingyTable table = makeTable({{"0102", "END"}, {"45", "E"}, {"4E", "N"}, {"44", "D"}});
    CodecContext context{table, 3, '<', '>'};
    EXPECT_EQ(countTranslatedBytes("END", context), 2);
    EXPECT_EQ(encodeScript("END", context, nullptr).bytes, (Bytes{0x45, 0x4E, 0x44}));
}

TEST(Codec, TheEncoderOnlyTriesUpToTheOriginalTablesLongestText) {
    ThingyTable table = makeTable({{"41", "A"}, {"42", "B"}, {"90", "AB"}});
    EXPECT_EQ(countTranslatedBytes("AB", {table, 2, '<', '>'}), 1);
    EXPECT_EQ(encodeScript("AB", {table, 1, '<', '>'}, nullptr).bytes, (Bytes{0x41, 0x42}));
}

TEST(Codec, WithoutALengthToTryNothingIsMatchedOrAsked) {
    ThingyTable table = makeTable({{"41", "A"}});
    bool asked = false;
    const EncodeResult r = encodeScript("A\xE9", {table, 0, '<', '>'}, [&](char, int, int) {
        asked = true;
        return MissingAnswer::Stop;
    });
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(r.bytes.empty());
    EXPECT_FALSE(asked);
    EXPECT_EQ(countTranslatedBytes("A\r\n<0A>", {table, 0, '<', '>'}), 0);
}

TEST(Codec, TextsPastThe16BitLimit) {
    ThingyTable table = makeTable({{"41", "A"}});
    CodecContext context{table, 1, '<', '>'};
    const std::string longest(32767, 'A');
    EXPECT_EQ(encodeScript(longest, context, nullptr).bytes.size(), 32767u);
    EXPECT_EQ(encodeScript(longest + "A", context, nullptr).error, FailureCode::Overflow);
    EXPECT_EQ(countTranslatedBytes(std::string(40000, 'A'), context), 40000);
}

// ---- the indexed counter and encoder against the plain walk ----

struct RandomCase {
    std::vector<ThingyEntry> entries; // positions 1 onwards
    std::string text;
    char left;
    char right;
    int longest;
};

constexpr int kMaxRandomEntries = 40;

RandomCase makeRandomCase(std::mt19937& rng) {
    const std::string alphabet = "ABCab <>|\r\n\xE9\xF1"
                                 "END"
                                 "LINE0F"
                                 "xyzxyzxyzxyz";
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    auto randomText = [&](std::size_t maxLength) {
        std::string s;
        const std::size_t length = pick(maxLength + 1);
        for (std::size_t i = 0; i < length; ++i)
            s += alphabet[pick(alphabet.size())];
        return s;
    };
    auto randomCode = [&] {
        static const char hex[] = "0123456789ABCDEFabcg ";
        std::string s;
        const std::size_t length = pick(7);
        for (std::size_t i = 0; i < length; ++i)
            s += hex[pick(sizeof hex - 1)];
        return s;
    };

    RandomCase c;
    const int entries = 1 + static_cast<int>(pick(kMaxRandomEntries));
    for (int p = 1; p <= entries; ++p) {
        std::string text;
        switch (pick(10)) {
        case 0:
            text = "END";
            break;
        case 1:
            text = "LINE";
            break;
        case 2:
            text = "";
            break; // ends the table for lookups
        case 3:
            text = "<" + randomText(3);
            break;
        case 4:
            text = "\r" + randomText(2);
            break;
        default:
            text = randomText(4);
            break;
        }
        if (text.empty() && pick(3) != 0)
            text = "A";
        c.entries.push_back({randomCode(), text});
    }
    // Mostly short texts; some long enough for the counter's 101-character search to give up.
    c.text = randomText(pick(10) == 0 ? 260 : 60);
    // Raw blocks, sometimes unclosed, and the CR LF of the pane.
    if (pick(2) == 0)
        c.text.insert(pick(c.text.size() + 1), "<0A 1" + std::string(pick(2) ? ">" : "") + "x");
    if (pick(3) == 0)
        c.text.insert(pick(c.text.size() + 1), "<END>");
    if (pick(3) == 0)
        c.text.insert(pick(c.text.size() + 1), "\r\n");
    static const char enclosures[] = "<>| ";
    c.left = pick(8) == 0 ? enclosures[pick(4)] : '<';
    c.right = pick(8) == 0 ? enclosures[pick(4)] : '>';
    c.longest = static_cast<int>(pick(7)); // above and below the table's longest, sometimes 0
    return c;
}

TEST(CodecAgainstTheWalk, GiveIdenticalResultsOnRandomTablesAndTexts) {
    std::mt19937 rng(20261206);
    ThingyTable table; // reused: only the first positions change from round to round
    for (int round = 0; round < 20000; ++round) {
        RandomCase c = makeRandomCase(rng);
        for (int p = 1; p <= kMaxRandomEntries; ++p)
            table.set(p, p <= static_cast<int>(c.entries.size()) ? c.entries[static_cast<std::size_t>(p - 1)]
                                                                 : ThingyEntry{});
        const CodecContext context{table, c.longest, c.left, c.right};
        SCOPED_TRACE("round " + std::to_string(round));

        ASSERT_EQ(countTranslatedBytes(c.text, context), reference::count(c.text, context));

        // Answer the missing-character questions the same way on both sides:
        // stop at the third one.
        auto answers = [](std::vector<int>& positions) {
            return [&positions](char, int position, int) {
                positions.push_back(position);
                return positions.size() >= 3 ? MissingAnswer::Stop : MissingAnswer::GoOn;
            };
        };
        std::vector<int> askedIndexed;
        std::vector<int> askedWalk;
        const EncodeResult indexed = encodeScript(c.text, context, answers(askedIndexed));
        const EncodeResult walk = reference::encode(c.text, context, answers(askedWalk));
        ASSERT_EQ(indexed.error, walk.error);
        ASSERT_EQ(indexed.stoppedAt, walk.stoppedAt);
        ASSERT_EQ(indexed.bytes, walk.bytes);
        ASSERT_EQ(askedIndexed, askedWalk);
    }
}

} // namespace
} // namespace tradumar
