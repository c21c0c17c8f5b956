// The insertion journal reader on arbitrary bytes: whatever a torn append or
// a damaged disk leaves, reading keeps a prefix of whole entries whose
// records write back byte for byte, and says whether the rest is whole,
// torn or damaged.

#include "../fuzz_targets.h"
#include "../fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "insertion/insertion_journal.h"

namespace {

void check(bool condition, const char* what) {
    tradumar::fuzz::require(condition, "journal", what);
}

} // namespace

int fuzzInsertionJournal(const std::uint8_t* data, std::size_t size) {
    using namespace tradumar;
    using Condition = JournalContents::Condition;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const JournalContents contents = parseJournal(bytes);
    check(contents.validLength <= size, "whole entries lie inside the file");
    check(contents.records.size() == contents.positions.size(), "one position per record");
    check(contents.condition != Condition::Whole || contents.validLength == size,
          "whole means every byte read");
    if (contents.validLength == 0) {
        check(contents.records.empty() && !contents.undoing && contents.originals.empty(),
              "no header, no entries");
        return 0;
    }
    for (std::size_t i = 0; i < contents.records.size(); ++i) {
        const std::string encoded = encodeRecord(contents.records[i]);
        check(bytes.substr(contents.positions[i], encoded.size()) == encoded, "records write back as read");
        check(i == 0 || contents.positions[i] > contents.positions[i - 1], "positions follow the entries");
        const JournalRecord& r = contents.records[i];
        check(r.oldBytes.size() <= r.newBytes.size() && r.romSizeAfter() >= r.romSizeBefore, "fields agree");
    }
    // The whole entries alone read the same, and as a whole journal.
    const JournalContents prefix = parseJournal(bytes.substr(0, contents.validLength));
    check(prefix.condition == Condition::Whole, "the whole entries read whole");
    check(prefix.records == contents.records && prefix.originals == contents.originals &&
              prefix.undoing == contents.undoing,
          "reading the prefix again gives the same");
    return 0;
}
