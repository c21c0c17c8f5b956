#include <gtest/gtest.h>

#include <random>

#include "encoding/optimal_codec.h"

namespace tradumar {
namespace {

// Every way the table allows to write a text of letters: at each character
// an entry of two or more letters, or the single step (the one-letter entry
// or, without one, the letter left out). Among the fewest letters left out
// and then the fewest bytes, the encoding whose choices rank first, step by
// step (longer entries first, the single step last).
struct Best {
    std::tuple<int, std::size_t> cost{1 << 30, 0};
    std::vector<int> ranks;
    Bytes bytes;
};

void bruteForce(const ThingyTable& table, std::string_view rest, int dropped, Bytes bytes,
                std::vector<int> ranks, Best& best) {
    if (rest.empty()) {
        const auto cost = std::tuple(dropped, bytes.size());
        if (cost < best.cost || (cost == best.cost && ranks < best.ranks))
            best = {cost, ranks, bytes};
        return;
    }
    std::vector<std::pair<std::size_t, int>> choices; // length, position
    for (std::size_t n = rest.size(); n >= 2; --n)
        if (const int position = table.find(rest.substr(0, n)))
            choices.emplace_back(n, position);
    choices.emplace_back(1, table.find(rest.substr(0, 1)));
    for (std::size_t k = 0; k < choices.size(); ++k) {
        Bytes more = bytes;
        const auto code = table.bytesAt(choices[k].second);
        more.insert(more.end(), code.begin(), code.end());
        std::vector<int> r = ranks;
        r.push_back(static_cast<int>(k));
        bruteForce(table, rest.substr(choices[k].first), dropped + (choices[k].second == 0), more, r, best);
    }
}

TEST(OptimalCodec, AgreesWithEveryEncodingTriedOnSmallTables) {
    std::mt19937 rng(24);
    const auto pick = [&](unsigned n) { return rng() % n; };
    for (int round = 0; round < 400; ++round) {
        ThingyTable table;
        std::string file;
        for (int e = 0, entries = 2 + static_cast<int>(pick(8)); e < entries; ++e) {
            std::string text, code;
            for (unsigned n = 1 + pick(pick(4) == 0 ? 4 : 2); n > 0; --n)
                text += "abcd"[pick(4)];
            for (unsigned n = 1 + pick(3); n > 0; --n)
                code += "0123456789ABCDEF"[pick(16)], code += "0123456789ABCDEF"[pick(16)];
            file += code + "=" + text + "\n";
        }
        parseThingyTable(file, table, TableOverflow::Drop);
        std::string text;
        for (unsigned n = pick(9); n > 0; --n)
            text += "abcd"[pick(4)];
        SCOPED_TRACE(file + "text: " + text);
        Best best;
        bruteForce(table, text, 0, {}, {}, best);
        const CodecContext context{table, table.longestTextLength(true)};
        int dropped = 0;
        const EncodeResult optimal = encodeOptimal(text, context, [&](char32_t, int, int) {
            ++dropped;
            return MissingAnswer::GoOn;
        });
        EXPECT_EQ(std::tuple(dropped, optimal.bytes), std::tuple(std::get<0>(best.cost), best.bytes));
        EXPECT_EQ(countOptimalBytes(text, context), static_cast<std::int64_t>(optimal.bytes.size()));
        int droppedFirst = 0;
        const EncodeResult longestFirst = encodeScript(text, context, [&](char32_t, int, int) {
            ++droppedFirst;
            return MissingAnswer::GoOn;
        });
        EXPECT_LE(std::tuple(dropped, optimal.bytes.size()),
                  std::tuple(droppedFirst, longestFirst.bytes.size()));
    }
}

// Line breaks, raw blocks, the end code and their failures go through the
// same choices as in the longest-first encoder, and the option switches the
// counter and the encoder together.
TEST(OptimalCodec, BlocksLineBreaksAndFailuresBehaveAsInTheLongestFirstEncoder) {
    ThingyTable table;
    parseThingyTable("01=a\n02=b\n0304=ab\n05=bc\n06=c\n*FE\n/FF\n", table, TableOverflow::Drop);
    CodecContext context{table, 2};
    const auto goOn = [](auto...) { return MissingAnswer::GoOn; };
    struct Row {
        const char* text;
        Bytes bytes;
        int error = 0, errorAt = 0;
    };
    for (const Row& r : {Row{"abc", {0x01, 0x05}},
                         Row{"ab\r\nab<0A 0B><END>", {0x03, 0x04, 0xFE, 0x03, 0x04, 0x0A, 0x0B, 0xFF}},
                         Row{"a<zz>x", {0x01}}, Row{"ab<0A", {}, FailureCode::Overflow, 3}}) {
        SCOPED_TRACE(r.text);
        const EncodeResult longestFirst = encodeScript(r.text, context, goOn, goOn);
        context.fewestBytes = true;
        const EncodeResult fewest = encodeScript(r.text, context, goOn, goOn);
        EXPECT_EQ(std::tuple(fewest.bytes, fewest.error, fewest.errorAt),
                  std::tuple(r.bytes, r.error, r.errorAt));
        if (r.error == 0) {
            EXPECT_EQ(countTranslatedBytes(r.text, context), static_cast<std::int64_t>(fewest.bytes.size()));
        }
        EXPECT_EQ(longestFirst.error, fewest.error);
        context.fewestBytes = false;
    }
    const EncodeResult stopped =
        encodeOptimal("ab<zz>", context, goOn, [](std::string_view, int) { return MissingAnswer::Stop; });
    EXPECT_EQ(std::tuple(stopped.stoppedAt, stopped.stoppedLength, stopped.bytes.empty()),
              std::tuple(3, 4, true));
}

} // namespace
} // namespace tradumar
