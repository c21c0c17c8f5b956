// Loads arbitrary table files, decoded as the loader decodes them (UTF-8, or
// Windows-1252 or Shift-JIS), under both overflow rules and checks the index
// against a plain walk over the positions.

#include "../fuzz_targets.h"
#include "../fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "encoding/conversions.h"
#include "encoding/text_file.h"
#include "encoding/thingy_table.h"

namespace {

void check(bool condition, const char* what) {
    tradumar::fuzz::require(condition, "thingy table", what);
}

// The first entry before the table's end with that text and a code that
// writes bytes (hexadecimal digit pairs), or 0.
int walkFind(const tradumar::ThingyTable& table, std::string_view text) {
    for (int p = 1; p <= tradumar::ThingyTable::kCapacity; ++p) {
        if (table.at(p).text.empty())
            return 0;
        if (table.at(p).text == text && tradumar::strictHexBytes(table.at(p).hexCode))
            return p;
    }
    return 0;
}

void checkTable(std::string_view content);

} // namespace

int fuzzThingyTable(const std::uint8_t* data, std::size_t size) {
    using namespace tradumar;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const LegacyCodePage legacy : {LegacyCodePage::Windows1252, LegacyCodePage::ShiftJis})
        if (const DecodedText text = decodeTextFile(bytes, legacy); text.status == TextFileStatus::Read)
            checkTable(text.text);
    return 0;
}

namespace {

void checkTable(std::string_view content) {
    using namespace tradumar;
    const std::size_t size = content.size();

    ThingyTable dropping;
    check(parseThingyTable(content, dropping, TableOverflow::Drop) == LoadStatus::Loaded, "drop never fails");
    ThingyTable failing;
    const LoadStatus status = parseThingyTable(content, failing, TableOverflow::Fail);
    check(status == LoadStatus::Loaded || status == LoadStatus::Overflow, "fail status");
    for (int p = 1; p <= ThingyTable::kCapacity; ++p)
        check(dropping.at(p) == failing.at(p), "the first 5000 entries agree");

    for (int p = 1; p <= ThingyTable::kCapacity; ++p) {
        const ThingyEntry& entry = dropping.at(p);
        if (entry.empty())
            break;
        check(entry.text.find_first_of("\r\n") == std::string::npos, "no line end inside an entry");
        check(dropping.find(entry.text) == walkFind(dropping, entry.text), "index agrees with the walk");
    }
    // Every substring of the input is looked up the same way as the walk does,
    // and every prefix match is a whole entry counted in characters.
    for (std::size_t i = 0; i < std::min<std::size_t>(size, 64); ++i) {
        for (std::size_t n = 1; n <= 4 && i + n <= size; ++n)
            check(dropping.find(content.substr(i, n)) == walkFind(dropping, content.substr(i, n)),
                  "substring lookup agrees with the walk");
        dropping.forEachPrefixMatch(content.substr(i), 8, [&](int characters, int bytes, int position) {
            const std::string_view match = content.substr(i, static_cast<std::size_t>(bytes));
            check(walkFind(dropping, match) == position, "a prefix match is the walk's entry");
            check(characterCount(match) == static_cast<std::size_t>(characters), "lengths in characters");
        });
    }

    std::size_t longest = 1;
    for (int p = 1; p <= ThingyTable::kCapacity && !dropping.at(p).text.empty(); ++p)
        longest = std::max(longest, characterCount(dropping.at(p).text));
    check(static_cast<std::size_t>(dropping.longestTextLength(true)) == std::min<std::size_t>(longest, 32767),
          "longest text in characters");
    check(dropping.longestTextLength(true) >= dropping.longestTextLength(false), "codes only add");
    check(dropping.longestTextLength(false) >= 1, "at least 1");
}

} // namespace
