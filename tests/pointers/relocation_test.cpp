#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "pointer_fixture.h"
#include "pointers/relocation.h"
#include "pointers/verification.h"
#include "support/seam_ops.h"
#include "support/temp_dir.h"

namespace tradumar::testsupport {
namespace {

// Three scripts at 0x300, 0x306 and 0x30B with 2-byte pointers at 0x100,
// 0x102 and 0x104; free space 0x800-0x8FF, filled with 0x00 when vacated.
class Relocation : public ::testing::Test {
public:
    TempDir dir;
    std::string rom = dir.file("game.bin"), pointerPath = dir.file("Demo.tpr.punteros");
    ProjectFiles files{rom, dir.file("Demo.tpr.inserciones"), dir.file("Demo.inserciones")};
    PointerFormat format{2, ByteOrder::Little, AddressMap::Linear, 0, 0};
    Bytes base = romWithScripts(0x1000, 0x300, 0x100, 2, format);
    PointerFile file;
    std::vector<std::string> names{"300[6].txt", "306[5].txt", "30B[3].txt"};
    SeamOps ops;

    void SetUp() override {
        writeBytes(rom, text(base));
        file = declared(PointerFile{});
        ops.rom = rom;
    }
    // The free space, filler and pointers of the test added to what the file holds.
    PointerFile declared(PointerFile f) const {
        f.filler = 0x00;
        f.freeRanges = {{0x800, 0x8FF}};
        for (int k = 0; k < 3; ++k)
            f.addPointers(names[static_cast<std::size_t>(k)], {{0x100 + 2 * k, format}});
        return f;
    }
    static std::string text(const Bytes& b) { return {b.begin(), b.end()}; }
    Bytes romNow() const {
        const std::string s = readBytes(rom);
        return {s.begin(), s.end()};
    }
    std::vector<ScriptLocation> locations() const { return locateScripts(names, file, romNow()); }
    Placement place(std::size_t script, std::size_t size) {
        const std::vector<ScriptLocation> all = locations();
        return planPlacement(all[script], Bytes(size, 0x10), file, romNow(), freeSpace(file, all), all);
    }
    PlacementOutcome write(const std::vector<Placement>& placements) {
        return writePlacements(files, pointerPath, file, placements, {}, ops, 1796000000);
    }
};

TEST_F(Relocation, MovesToFreeSpaceAndBackWithItsPointersAndTheFreeSpaceFollows) {
    const Placement away = place(0, 10);
    ASSERT_EQ(away.kind, Placement::Kind::Move);
    EXPECT_EQ(std::tuple(away.to.offset, away.to.size, away.pointers), std::tuple(0x800, 10, 1u));
    ASSERT_EQ(write({away}).error, 0);
    Bytes expected = base;
    std::fill(expected.begin() + 0x300, expected.begin() + 0x306, 0x00);
    std::fill(expected.begin() + 0x800, expected.begin() + 0x80A, 0x10);
    expected[0x100] = 0x00, expected[0x101] = 0x08;
    EXPECT_EQ(romNow(), expected);
    file = loadPointerFile(pointerPath).file; // as another run reads it
    EXPECT_EQ(locations()[0].current, (ScriptPlace{0x800, 10}));
    EXPECT_EQ(freeSpace(file, locations()), (std::vector<ByteRange>{{0x300, 0x305}, {0x80A, 0x8FF}}));
    EXPECT_EQ(place(0, 10).kind, Placement::Kind::InPlace) << "it fits its new room";

    const Placement back = place(0, 6);
    ASSERT_EQ(std::tuple(back.kind, back.to.offset), std::tuple(Placement::Kind::Move, 0x300));
    ASSERT_EQ(write({back}).error, 0);
    EXPECT_EQ(locations()[0].status, ScriptLocation::Status::Home);
    EXPECT_EQ(freeSpace(file, locations()), file.freeRanges);
    const Bytes vacated = romNow();
    EXPECT_EQ(Bytes(vacated.begin() + 0x800, vacated.begin() + 0x80A), Bytes(10, 0x00));

    // Undo reverses the steps: bytes, pointers, and so the places and the free space.
    ASSERT_EQ(undoLastStep(files, ops).kind, UndoOutcome::Kind::Undone);
    EXPECT_EQ(romNow(), expected);
    EXPECT_EQ(locations()[0].current, (ScriptPlace{0x800, 10}));
    ASSERT_EQ(undoLastStep(files, ops).kind, UndoOutcome::Kind::Undone);
    EXPECT_EQ(romNow(), base);
    EXPECT_EQ(locations()[0].status, ScriptLocation::Status::Home);
}

TEST_F(Relocation, AlignmentRoomAndPointersDecideWhetherAScriptMoves) {
    file.alignment = 16;
    file.freeRanges = {{0x7F0, 0x7F8}, {0x803, 0x8FF}};
    EXPECT_EQ(place(0, 10).to.offset, 0x810) << "the first aligned start where it fits";
    for (const ByteRange tooSmall : {ByteRange{0x800, 0x808}, ByteRange{0xFF8, 0x1FFF}}) {
        file.freeRanges = {tooSmall};
        EXPECT_EQ(place(0, 10).kind, Placement::Kind::NoRoom) << "a range too small or past the ROM's end";
    }
    file.freeRanges = {{0x300, 0x3FF}};
    EXPECT_EQ(place(0, 7).to.offset, 0x310) << "declared space that scripts occupy is not free";
    file.scripts.clear();
    EXPECT_EQ(place(0, 10).kind, Placement::Kind::NoPointers);
    file.addPointers(names[0], {{0x102, format}});
    EXPECT_EQ(place(0, 10).kind, Placement::Kind::Astray) << "its pointer leads to another script";
}

// Insert-all: one script fits, one moves, one cannot; the second moved
// script takes the space the first released.
TEST_F(Relocation, InsertAllRelocatesTheLongScriptsThatCanMoveAndVerifiesThem) {
    file.freeRanges = {{0x800, 0x807}};
    file.scripts.erase(file.scripts.begin() + 2);
    InsertAllPlan plan;
    const auto planned = [](const std::string& name, std::size_t size, PlannedScript::Status status) {
        PlannedScript s;
        s.fileName = name, s.status = status, s.bytes = Bytes(size, 0x11);
        return s;
    };
    plan.scripts = {planned(names[0], 8, PlannedScript::Status::OverBudget),
                    planned(names[1], 6, PlannedScript::Status::OverBudget),
                    planned(names[2], 4, PlannedScript::Status::OverBudget),
                    planned("40[2].txt", 1, PlannedScript::Status::MissingCharacters)};
    const std::vector<Placement> placements = planPlacements(plan, file, romNow(), names, true);
    ASSERT_EQ(placements.size(), 3u);
    EXPECT_EQ(std::tuple(placements[0].kind, placements[0].to.offset),
              std::tuple(Placement::Kind::Move, 0x800));
    EXPECT_EQ(std::tuple(placements[1].kind, placements[1].to.offset),
              std::tuple(Placement::Kind::Move, 0x300));
    EXPECT_EQ(placements[2].kind, Placement::Kind::NoPointers);
    EXPECT_EQ(planPlacements(plan, file, romNow(), names, false)[0].kind, Placement::Kind::InPlace);

    ASSERT_EQ(write(placements).error, 0);
    std::vector<std::pair<std::string, TranslationCheck::State>> states;
    for (const TranslationCheck& c : verifyTranslations(plan, file, romNow()))
        states.emplace_back(c.script, c.state);
    using State = TranslationCheck::State;
    EXPECT_EQ(states, (std::vector<std::pair<std::string, State>>{{names[0], State::Inserted},
                                                                  {names[1], State::Inserted},
                                                                  {names[2], State::Pending},
                                                                  {"40[2].txt", State::Impossible}}));
    EXPECT_EQ(translationStateText(State::Impossible), "no se puede insertar");
}

// A child process relocates and is killed at its Nth change of a file, for
// every N until it finishes. After settling, the ROM holds the whole move or
// none of it, the journal keeps the step exactly when it does, and where the
// script lives follows.
TEST_F(Relocation, KilledAtEveryChangeTheMoveIsWholeOrAbsent) {
    const Placement away = place(0, 10);
    Bytes moved = base;
    for (const RomWrite& w : away.writes)
        std::copy(w.bytes.begin(), w.bytes.end(), moved.begin() + w.offset);
    for (int point = 1;; ++point) {
        ASSERT_LT(point, 60) << "the child never finished";
        SCOPED_TRACE(::testing::Message() << "killed at change " << point);
        writeBytes(rom, text(base));
        std::remove(files.journal.c_str());
        std::remove(originalCopyPath(rom).c_str());
        std::remove(pointerPath.c_str());
        file = declared(PointerFile{});
        const pid_t child = fork();
        if (child == 0) {
            ops.changes = 0;
            ops.killAt = point;
            write({away});
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ops = SeamOps{}, ops.rom = rom;
        const SettleOutcome settled = settleJournal(files, ops);
        ASSERT_TRUE(settled.contents);
        const bool done = romNow() == moved;
        EXPECT_TRUE(done || romNow() == base);
        EXPECT_EQ(settled.contents->records.size(), done ? away.writes.size() : 0u);
        file = declared(loadPointerFile(pointerPath).file);
        EXPECT_EQ(locations()[0].current, done ? (ScriptPlace{0x800, 10}) : (ScriptPlace{0x300, 6}));
        if (WIFEXITED(status))
            break;
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    }
}

} // namespace
} // namespace tradumar::testsupport
