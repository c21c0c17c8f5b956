// Counts and encodes arbitrary text against an arbitrary table and compares
// both with the plain walk the program's results are defined by.

#include "../fuzz_targets.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "../reference_walk.h"

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "script codec invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace

// Input: three bytes of settings (longest length, left and right enclosure),
// then the table file's content, a NUL, and the text.
int fuzzScriptCodec(const std::uint8_t* data, std::size_t size) {
    using namespace tradumar;
    if (size < 3)
        return 0;
    const int longest = data[0] % 10;
    const char left = static_cast<char>(data[1]);
    const char right = static_cast<char>(data[2]);
    const std::string_view rest(reinterpret_cast<const char*>(data + 3), size - 3);
    const std::size_t nul = rest.find('\0');
    const std::string_view tableText = rest.substr(0, nul);
    const std::string_view text = nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1);

    ThingyTable table;
    parseThingyTable(tableText, table, TableOverflow::Drop);
    const CodecContext context{table, longest, left, right};

    check(countTranslatedBytes(text, context) == reference::count(text, context),
          "count agrees with the walk");

    // Go on at odd positions, stop at the first even one.
    auto answer = [](int position) { return position % 2 == 0 ? MissingAnswer::Stop : MissingAnswer::GoOn; };
    const EncodeResult indexed = encodeScript(text, context, [&](char, int p, int) { return answer(p); });
    const EncodeResult walk = reference::encode(text, context, [&](char, int p, int) { return answer(p); });
    check(indexed.error == walk.error, "same failure");
    check(indexed.stoppedAt == walk.stoppedAt, "same stop");
    check(indexed.bytes == walk.bytes, "same bytes");
    return 0;
}
