// The insertion journal reader on arbitrary bytes: whatever a torn append or
// a damaged disk leaves, reading keeps a prefix of whole entries that writes
// back byte for byte.

#include "../fuzz_targets.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "insertion/insertion_journal.h"

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "journal invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace

int fuzzInsertionJournal(const std::uint8_t* data, std::size_t size) {
    using namespace tradumar;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const JournalContents contents = parseJournal(bytes);
    check(contents.validLength <= size, "whole entries lie inside the file");
    check(contents.records.size() == contents.positions.size(), "one position per record");
    if (contents.validLength == 0) {
        check(contents.records.empty() && !contents.undoing, "no header, no entries");
        return 0;
    }
    std::string rewritten(kJournalHeader);
    for (std::size_t i = 0; i < contents.records.size(); ++i) {
        check(contents.positions[i] == rewritten.size(), "positions follow the entries");
        rewritten += encodeRecord(contents.records[i]);
    }
    if (contents.undoing)
        rewritten += encodeUndoMarker(*contents.undoing);
    check(rewritten == bytes.substr(0, contents.validLength), "entries write back as read");
    check(parseJournal(rewritten).records == contents.records, "reading the prefix again gives the same");
    return 0;
}
