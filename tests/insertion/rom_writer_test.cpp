#include "insertion/rom_writer.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "common/file_io.h"
#include "support/temp_dir.h"

namespace tradumar::testsupport {
namespace {

TEST(RomWriter, SystemErrorsBecomeTheInsertionsFailureCodes) {
    const std::pair<int, int> cases[] = {
        {ENAMETOOLONG, 52}, {EINVAL, 52}, {EACCES, 70},  {EPERM, 70}, {EROFS, 70},
        {ETXTBSY, 70},      {ENOENT, 76}, {ENOTDIR, 76}, {ELOOP, 76}, {EISDIR, 75},
        {EIO, 75},          {ENOSPC, 75}, {EFBIG, 75},
    };
    for (const auto& [error, code] : cases)
        EXPECT_EQ(failureCodeForError(error), code) << error;
}

// Each row inserts into a fresh 16-byte ROM of 0x11 bytes. A failure, or a
// stop at a missing character, leaves it exactly as it was.
TEST(RomWriter, InsertsAfterEncodingOnlyAndReportsEveryFailureCode) {
    ThingyTable table;
    table.set(1, {"41", "A"});
    table.set(2, {"42", "B"});
    table.set(3, {"FE", "LINE"});
    const std::string rom(16, '\x11');
    struct Case {
        std::string text, script, romName;
        InsertOutcome::Kind kind;
        int codeOrCount;        // the failure code, the bytes written or the stop position
        std::string after = {}; // what the written file holds
    };
    using K = InsertOutcome::Kind;
    const Case cases[] = {
        {"AB\r\nA<0C>", "4[6].txt", "rom", K::Written, 5,
         "\x11\x11\x11\x11\x41\x42\xFE\x41\x0C" + rom.substr(9)},
        {"AB", "E[2].txt", "rom", K::Written, 2, rom.substr(2) + "AB"}, // ends exactly at the end
        {"AB", "F[2].txt", "rom", K::Failed, FailureCode::RomTooSmall}, // never made longer
        {"A", "3[1].txt", "new", K::Failed, FailureCode::RomNotFound},  // never created
        {"ABéA", "0[4].txt", "rom", K::Stopped, 3},
        {"A<0G>", "0[4].txt", "rom", K::Stopped, 2}, // an invalid block stops the same way
        {"AB", "zzzz[10].txt", "rom", K::Failed, FailureCode::InvalidCall}, // never at offset 0
        {"AB", "script.txt", "rom", K::Failed, FailureCode::InvalidCall},
        {"A<", "0[1].txt", "rom", K::Failed, FailureCode::InvalidCall},
        {"A<0A", "0[1].txt", "rom", K::Failed, FailureCode::Overflow},
        {std::string(32768, 'A'), "0[1].txt", "rom", K::Failed, FailureCode::Overflow},
        {"AB", "7FFFFFFF[1].txt", "rom", K::Failed, FailureCode::Overflow},
        {"A", "0[1].txt", "", K::Failed, FailureCode::BadFileName},
        {"A", "0[1].txt", std::string(5000, 'x'), K::Failed, FailureCode::BadFileName},
        {"A", "0[1].txt", "no/such/game.smc", K::Failed, FailureCode::RomNotFound},
        {"A", "0[1].txt", ".", K::Failed, FailureCode::PathFileAccess},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 10) + " into " + c.script + " at " + c.romName.substr(0, 10));
        TempDir dir;
        writeBytes(dir.file("rom"), rom);
        const std::string path = c.romName.empty() ? "" : dir.file(c.romName);
        const InsertOutcome out = insertTranslation(
            c.text, {table, 4, '<', '>'}, [](char32_t, int, int) { return MissingAnswer::Stop; }, {},
            c.script, ProjectFiles{path, {}, {}});
        EXPECT_EQ(out.kind, c.kind);
        EXPECT_EQ(c.kind == K::Failed    ? out.error
                  : c.kind == K::Stopped ? out.stoppedAt
                                         : static_cast<int>(out.bytesWritten),
                  c.codeOrCount);
        EXPECT_EQ(readBytes(c.kind == K::Written ? path : dir.file("rom")),
                  c.kind == K::Written ? c.after : rom);
        EXPECT_FALSE(pathExists(dir.file("new")));
    }
}

} // namespace
} // namespace tradumar::testsupport
