#include "insertion/rom_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "support/temp_dir.h"

namespace tradumar {
namespace {

using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

class RomInsertion : public ::testing::Test {
protected:
    RomInsertion() {
        table.set(1, {"41", "A"});
        table.set(2, {"42", "B"});
        table.set(3, {"FE", "LINE"});
        rom = dir.file("game.smc");
        writeBytes(rom, std::string(16, '\x11'));
    }
    InsertOutcome insert(std::string_view text, std::string_view name,
                         const MissingHandler& onMissing = nullptr) {
        return insertTranslation(text, {table, 4, '<', '>'}, onMissing, name, rom);
    }
    TempDir dir;
    ThingyTable table;
    std::string rom;
};

TEST_F(RomInsertion, WritesTheBytesAtTheScriptsOffsetAndNothingElse) {
    const InsertOutcome out = insert("AB\r\nA<0C>", "4[6].txt");
    ASSERT_EQ(out.kind, InsertOutcome::Kind::Written);
    EXPECT_EQ(out.bytesWritten, 5u);
    EXPECT_EQ(readBytes(rom), std::string("\x11\x11\x11\x11"
                                          "AB\xFE"
                                          "A\x0C"
                                          "\x11\x11\x11\x11\x11\x11\x11",
                                          16));
}

TEST_F(RomInsertion, ExtendsTheFileAndCreatesAMissingOne) {
    ASSERT_EQ(insert("AB", "F[2].txt").kind, InsertOutcome::Kind::Written);
    EXPECT_EQ(readBytes(rom), std::string(15, '\x11') + "AB");

    rom = dir.file("new.smc");
    ASSERT_EQ(insert("A", "3[1].txt").kind, InsertOutcome::Kind::Written);
    EXPECT_EQ(readBytes(rom), std::string("\0\0\0A", 4));

    rom = dir.file("empty.smc");
    const InsertOutcome nothing =
        insert("\xE9", "0[1].txt", [](char, int, int) { return MissingAnswer::GoOn; });
    ASSERT_EQ(nothing.kind, InsertOutcome::Kind::Written);
    EXPECT_EQ(nothing.bytesWritten, 0u);
    EXPECT_TRUE(std::filesystem::exists(rom));
}

TEST_F(RomInsertion, FailuresLeaveTheRomUntouched) {
    const std::string before = readBytes(rom);
    struct Case {
        const char* text;
        const char* name;
        int code;
    };
    const Case cases[] = {
        {"AB", "script.txt", FailureCode::InvalidCall},   {"AB", "", FailureCode::InvalidCall},
        {"A<", "0[1].txt", FailureCode::InvalidCall},     {"A<0A", "0[1].txt", FailureCode::Overflow},
        {"AB", "80000000[1].txt", FailureCode::Overflow}, {"AB", "7FFFFFFF[1].txt", FailureCode::Overflow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " / " + c.name);
        const InsertOutcome out = insert(c.text, c.name);
        EXPECT_EQ(out.kind, InsertOutcome::Kind::Failed);
        EXPECT_EQ(out.error, c.code);
        EXPECT_EQ(readBytes(rom), before);
    }
    EXPECT_EQ(insert(std::string(32768, 'A'), "0[1].txt").error, FailureCode::Overflow);
}

TEST_F(RomInsertion, StoppingAtAMissingCharacterWritesNothing) {
    const std::string before = readBytes(rom);
    const InsertOutcome out =
        insert("AB\xE9", "0[3].txt", [](char, int, int) { return MissingAnswer::Stop; });
    EXPECT_EQ(out.kind, InsertOutcome::Kind::Stopped);
    EXPECT_EQ(out.stoppedAt, 3);
    EXPECT_EQ(readBytes(rom), before);
}

TEST_F(RomInsertion, AFileThatCannotBeOpenedGivesItsCode) {
    rom = dir.file("no/such/folder/game.smc");
    EXPECT_EQ(insert("A", "0[1].txt").error, FailureCode::PathNotFound);
    rom = dir.path().string();
    EXPECT_EQ(insert("A", "0[1].txt").error, FailureCode::PathFileAccess);
    rom = "";
    EXPECT_EQ(insert("A", "0[1].txt").error, FailureCode::BadFileName);
    rom = dir.file(std::string(5000, 'x'));
    EXPECT_EQ(insert("A", "0[1].txt").error, FailureCode::BadFileName);
    if (::geteuid() != 0) {
        rom = dir.file("readonly.smc");
        writeBytes(rom, "ro");
        std::filesystem::permissions(rom, std::filesystem::perms::owner_read);
        EXPECT_EQ(insert("A", "0[1].txt").error, FailureCode::PermissionDenied);
        EXPECT_EQ(readBytes(rom), "ro");
    }
}

} // namespace
} // namespace tradumar
