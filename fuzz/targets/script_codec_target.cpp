// Counts and encodes arbitrary text against an arbitrary table and compares
// both with the plain walk the program's results are defined by.

#include "../fuzz_targets.h"
#include "../fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "../reference_walk.h"

namespace {

void check(bool condition, const char* what) {
    tradumar::fuzz::require(condition, "script codec", what);
}

// An enclosure from one byte: ASCII as it is, other bytes one of a few
// symbols that take several bytes in UTF-8.
char32_t enclosureOf(std::uint8_t byte) {
    constexpr char32_t kSymbols[] = {U'【', U'】', U'«', U'»', U'♪', U'▶', U'\U0001F3B5', U'〈'};
    return byte < 0x80 ? byte : kSymbols[byte % 8];
}

} // namespace

// Input: three bytes of settings (longest length, left and right enclosure),
// then the table file's content, a NUL, and the text; either part UTF-8 or not.
int fuzzScriptCodec(const std::uint8_t* data, std::size_t size) {
    using namespace tradumar;
    if (size < 3)
        return 0;
    const int longest = data[0] % 10;
    const char32_t left = enclosureOf(data[1]);
    const char32_t right = enclosureOf(data[2]);
    const std::string_view rest(reinterpret_cast<const char*>(data + 3), size - 3);
    const std::size_t nul = rest.find('\0');
    const std::string tableText = tradumar::fuzz::asText(rest.substr(0, nul));
    const std::string text = nul == std::string_view::npos ? std::string() : tradumar::fuzz::asText(rest.substr(nul + 1));

    ThingyTable table;
    parseThingyTable(tableText, table, TableOverflow::Drop);
    const CodecContext context{table, longest, left, right};

    check(countTranslatedBytes(text, context) == reference::count(text, context),
          "count agrees with the walk");

    // Go on at odd positions, stop at the first even one.
    auto answer = [](int position) { return position % 2 == 0 ? MissingAnswer::Stop : MissingAnswer::GoOn; };
    auto missing = [&](char32_t, int p, int) { return answer(p); };
    auto invalid = [&](std::string_view, int p) { return answer(p); };
    const EncodeResult indexed = encodeScript(text, context, missing, invalid);
    const EncodeResult walk = reference::encode(text, context, missing, invalid);
    check(indexed.error == walk.error, "same failure");
    check(indexed.stoppedAt == walk.stoppedAt && indexed.stoppedLength == walk.stoppedLength, "same stop");
    check(indexed.bytes == walk.bytes, "same bytes");
    return 0;
}
