#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <map>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

#include "common/file_io.h"
#include "insertion/insertion_journal.h"
#include "project/project_settings.h"
#include "support/seam_ops.h"
#include "support/temp_dir.h"

namespace tradumar::testsupport {
namespace {

const auto bytes = [](std::string_view text) { return Bytes(text.begin(), text.end()); };
const auto text = [](const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); };

class JournalTest : public ::testing::Test {
public:
    TempDir dir;
    std::string rom = dir.file("game.smc"), journal = dir.file("Demo.tpr.inserciones");
    ProjectFiles files{rom, journal, dir.file("Demo.inserciones")};
    std::string base = std::string(64, '.');
    SeamOps ops;

    void SetUp() override { fresh(); }
    // The untouched ROM, no journal, no copy of the ROM, the seam reset.
    void fresh() {
        writeBytes(rom, base);
        std::remove(journal.c_str());
        std::remove(originalCopyPath(rom).c_str());
        resetOps();
    }
    void resetOps() { ops = SeamOps{}, ops.rom = rom; }
    StepOutcome write(const std::vector<RomWrite>& writes, const KeepGoing& keepGoing = {}) {
        return writeStep(files, writes, keepGoing, ops, 1796000000);
    }
    UndoOutcome undo() { return undoLastStep(files, ops); }
    std::size_t records() { return settleJournal(files, ops).contents.value().records.size(); }
    // The journal with each insertion's state byte set to `state`.
    void markAll(JournalRecord::State state) {
        std::string bytes = readBytes(journal);
        for (const std::size_t at : parseJournal(bytes).positions)
            bytes[at + 1] = static_cast<char>(state);
        writeBytes(journal, bytes);
    }
};

// A done record of step 1, as a journal written elsewhere holds it.
JournalRecord done(const std::string& rom, std::int64_t offset, std::int64_t sizeBefore, std::string_view old,
                   std::string_view now) {
    return {JournalRecord::State::Done, 1, 0, offset, sizeBefore, rom, "script.txt", bytes(old), bytes(now)};
}

const std::vector<RomWrite> kThree = {{"10[4].txt", 0x10, bytes("AAAA")},
                                      {"20[4].txt", 0x20, bytes("BB\xE9\xFF\x42\x42")},
                                      {"30[2].txt", 0x30, bytes("C")}};

TEST_F(JournalTest, TheJournalAndTheRomReachTheDiskInOrder) {
    ASSERT_EQ(write(kThree).error, 0);
    const auto at = [&](const char* what) {
        return std::find(ops.log.begin(), ops.log.end(), what) - ops.log.begin();
    };
    const auto firstRomWrite = at("write rom");
    EXPECT_LT(at("sync folder"), firstRomWrite)
        << "the new journal's folder flushed before the ROM is touched";
    EXPECT_EQ(std::count(ops.log.begin(), ops.log.begin() + firstRomWrite, "sync journal"), 1);
    // The done marks, the journal's writes after the ROM's, come after the ROM's flush.
    EXPECT_GT(std::find(ops.log.begin() + firstRomWrite, ops.log.end(), "write journal") - ops.log.begin(),
              at("sync rom"));
    EXPECT_EQ(ops.log.back(), "sync journal");
    ASSERT_EQ(write({{"0[2].txt", 0, bytes("ZZ")}}).error, 0);
    EXPECT_EQ(readBytes(originalCopyPath(rom)), base) << "kept once, never overwritten";
    const OriginalCheck kept = checkOriginalCopy(files);
    EXPECT_EQ(kept.status, OriginalCheck::Status::Matches);
    EXPECT_EQ(std::tuple(kept.recorded.size, kept.recorded.crc),
              std::tuple(std::uint64_t{64}, journalCrc32(base)));
    writeBytes(originalCopyPath(rom), base + "x");
    EXPECT_EQ(checkOriginalCopy(files).status, OriginalCheck::Status::Differs);
}

TEST_F(JournalTest, UndoWalksBackStepByStep) {
    const std::vector<std::vector<std::vector<RomWrite>>> rows = {
        {{{"8[4].txt", 8, bytes("Hola")}}, kThree},
        {{{"8[8].txt", 8, bytes("12345678")}, {"A[4].txt", 10, bytes("abcdef")}}}, // overlapping
    };
    const std::vector<std::vector<std::size_t>> restoredBytes = {{11, 4}, {14}};
    for (std::size_t row = 0; row < rows.size(); ++row) {
        SCOPED_TRACE(row);
        fresh();
        std::vector<std::string> before;
        for (const auto& step : rows[row]) {
            before.insert(before.begin(), readBytes(rom));
            ASSERT_EQ(write(step).error, 0);
        }
        for (std::size_t i = 0; i < restoredBytes[row].size(); ++i) {
            const UndoOutcome undone = undo();
            EXPECT_EQ(undone.kind, UndoOutcome::Kind::Undone);
            EXPECT_EQ(undone.bytes, restoredBytes[row][i]);
            EXPECT_EQ(readBytes(rom), before[i]);
        }
        EXPECT_FALSE(hasUndoableStep(files));
        EXPECT_EQ(undo().kind, UndoOutcome::Kind::Nothing);
    }
}

// A journal of the first format whose insertion made the ROM longer: undone
// while the ROM has the size it left, refused once the ROM grew further.
TEST_F(JournalTest, UndoOfALongerRomCutsItOnlyAtTheSizeTheStepLeft) {
    const JournalRecord r = done(rom, 60, 64, "....", "abcdefgh");
    for (const bool grown : {true, false}) {
        SCOPED_TRACE(grown);
        fresh();
        writeBytes(journal, std::string(kJournalHeaderV1) + encodeRecord(r));
        const std::string after = base.substr(0, 60) + "abcdefgh" + (grown ? std::string(100, 'E') : "");
        writeBytes(rom, after);
        EXPECT_EQ(undo().error, grown ? FailureCode::RomSizeChanged : 0);
        EXPECT_EQ(readBytes(rom), grown ? after : base);
    }
    // A ROM of this journal grown after an insertion: undo refuses it too.
    fresh();
    ASSERT_EQ(write(kThree).error, 0);
    writeBytes(rom, readBytes(rom) + "more");
    EXPECT_EQ(undo().error, FailureCode::RomSizeChanged);
    EXPECT_EQ(readBytes(rom).size(), 68u);
}

TEST_F(JournalTest, NothingIsWrittenWhenTheRomCannotTakeTheStepOrTheJournalFails) {
    const std::vector<std::tuple<const char*, std::function<void(JournalTest&)>, int, std::vector<RomWrite>>>
        rows = {
            {"missing", [](JournalTest& t) { std::remove(t.rom.c_str()); }, FailureCode::RomNotFound, kThree},
            {"read-only", [](JournalTest& t) { t.ops.romReadOnly = true; }, FailureCode::PermissionDenied,
             kThree},
            {"too small", [](JournalTest& t) { writeBytes(t.rom, t.base.substr(0, 0x22)); },
             FailureCode::RomTooSmall, kThree},
            {"ends exactly at the end", [](JournalTest& t) { writeBytes(t.rom, t.base.substr(0, 0x31)); }, 0,
             kThree},
            {"far past the end, before anything is made that large",
             [](JournalTest&) {},
             FailureCode::RomTooSmall,
             {{"7FFFFFF0[4].txt", 0x7FFFFFF0, bytes("AAAA")}}},
            {"an offset that overflows",
             [](JournalTest&) {},
             FailureCode::Overflow,
             {{"7FFFFFFF[1].txt", 0x7FFFFFFF, bytes("A")}}},
            {"a stale untouched copy",
             [](JournalTest& t) { writeBytes(originalCopyPath(t.rom), "another ROM"); },
             FailureCode::StaleOriginal, kThree},
            {"second write fails", [](JournalTest& t) { t.ops.failRomWrite = 2; },
             FailureCode::PathFileAccess, kThree},
            {"the records cannot be written", [](JournalTest& t) { t.ops.failJournalWrite = 2; },
             FailureCode::PathFileAccess, kThree},
            {"the records cannot be flushed (EINVAL)",
             [](JournalTest& t) { t.ops.failJournalSync = 1, t.ops.syncError = EINVAL; },
             FailureCode::PathFileAccess, kThree},
            {"a done mark cannot be written", [](JournalTest& t) { t.ops.failJournalWrite = 4; },
             FailureCode::PathFileAccess, kThree},
        };
    for (const auto& [name, arrange, error, writes] : rows) {
        SCOPED_TRACE(name);
        fresh();
        arrange(*this);
        const std::string before = pathExists(rom) ? readBytes(rom) : "";
        EXPECT_EQ(write(writes).error, error);
        if (error != 0) {
            EXPECT_EQ(pathExists(rom) ? readBytes(rom) : "", before);
        }
        resetOps();
        EXPECT_EQ(records(), error == 0 ? 3u : 0u);
    }
}

TEST_F(JournalTest, AStepWhoseLastJournalFlushFailsIsInsertedAndStaysUndoable) {
    ops.failJournalSync = 2;
    const StepOutcome outcome = write(kThree);
    EXPECT_EQ(std::tuple(outcome.error, outcome.written, outcome.journalUnflushed), std::tuple(0, 3u, true));
    EXPECT_NE(readBytes(rom), base);
    EXPECT_EQ(records(), 3u);
    EXPECT_EQ(undo().kind, UndoOutcome::Kind::Undone);
    EXPECT_EQ(readBytes(rom), base);
}

TEST_F(JournalTest, AFailedRollbackIsReportedAndFinishedByTheNextUndo) {
    ASSERT_EQ(write({{"8[4].txt", 8, bytes("Hola")}}).error, 0);
    const std::string before = readBytes(rom);
    ops.failRomWrite = 3, ops.failRomWrites = true; // the third write fails, and the rollback's writes
    const StepOutcome failed = write(kThree);
    EXPECT_EQ(failed.error, FailureCode::PartialStep);
    EXPECT_EQ(failed.partialScripts, (std::vector<std::string>{"10[4].txt", "20[4].txt", "30[2].txt"}));
    resetOps();
    const UndoOutcome finished = undo();
    EXPECT_EQ(finished.kind, UndoOutcome::Kind::Finished) << "not the undo of the insertion before it";
    EXPECT_EQ(readBytes(rom), before);
    EXPECT_EQ(undo().kind, UndoOutcome::Kind::Undone);
    EXPECT_EQ(readBytes(rom), base);
}

TEST_F(JournalTest, AStopKeepsTheScriptsWrittenAndTheJournalSaysWhich) {
    for (const std::size_t stopAt : {0u, 2u}) {
        SCOPED_TRACE(stopAt);
        const StepOutcome outcome =
            write(kThree, [&](std::size_t done, std::size_t) { return done < stopAt; });
        EXPECT_TRUE(outcome.cancelled);
        EXPECT_EQ(outcome.written, stopAt);
        std::string expected = base;
        for (std::size_t i = 0; i < stopAt; ++i)
            expected.replace(kThree[i].offset, kThree[i].bytes.size(), text(kThree[i].bytes));
        EXPECT_EQ(readBytes(rom), expected);
        EXPECT_EQ(records(), stopAt);
        undo();
        EXPECT_EQ(readBytes(rom), base);
    }
}

// After a power cut the ROM may hold the whole step, part of it, or be
// another file altogether, whatever the done marks say.
TEST_F(JournalTest, SettlingTakesAnUnfinishedStepAsAWholeAndNeverGuesses) {
    struct Row {
        const char* name;
        std::function<void(JournalTest&)> romAfterCut;
        std::size_t records;
        bool restored;
        int error = 0;
    };
    const std::vector<Row> rows = {
        {"every done mark lost, the ROM holds the step", [](JournalTest&) {}, 3, false},
        {"the ROM holds the first two scripts",
         [](JournalTest& t) { writeBytes(t.rom, readBytes(t.rom).replace(0x30, 1, ".")); }, 0, true},
        {"half a script reached the ROM",
         [](JournalTest& t) { writeBytes(t.rom, std::string(t.base).replace(0x10, 2, "AA")); }, 0, true},
        {"another build of the ROM", [](JournalTest& t) { writeBytes(t.rom, std::string(64, '#')); }, 3,
         false, FailureCode::RomReplaced},
        {"a ROM of another size", [](JournalTest& t) { writeBytes(t.rom, readBytes(t.rom) + "!"); }, 3, false,
         FailureCode::RomReplaced},
        {"the ROM cannot be read", [](JournalTest& t) { std::remove(t.rom.c_str()); }, 3, false,
         FailureCode::RomReplaced},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fresh();
        ASSERT_EQ(write(kThree).error, 0);
        markAll(JournalRecord::State::Pending);
        row.romAfterCut(*this);
        const std::string journalBefore = readBytes(journal);
        const std::string romBefore = pathExists(rom) ? readBytes(rom) : "";
        const SettleOutcome settled = settleJournal(files, ops);
        EXPECT_EQ(settled.error, row.error);
        if (row.error != 0) {
            EXPECT_EQ(readBytes(journal), journalBefore) << "kept as it is";
            EXPECT_EQ(pathExists(rom) ? readBytes(rom) : "", romBefore) << "nothing written into it";
            EXPECT_EQ(write({{"0[1].txt", 0, bytes("Z")}}).error, row.error) << "nor by the next insertion";
            continue;
        }
        EXPECT_EQ(settled.contents->records.size(), row.records);
        EXPECT_EQ(readBytes(rom) == base, row.restored);
    }
}

TEST_F(JournalTest, AJournalWritesOnlyIntoItsProjectsRom) {
    const std::string victim = dir.file("bashrc");
    writeBytes(victim, "hostile!");
    JournalRecord r = done(victim, 0, 8, "rm -rf ~", "hostile!");
    writeBytes(journal, std::string(kJournalHeader) + encodeRecord(r));
    const UndoOutcome refused = undo();
    EXPECT_EQ(std::tuple(refused.error, refused.file), std::tuple(FailureCode::ForeignRom, victim));
    EXPECT_EQ(readBytes(victim), "hostile!");

    // Unfinished in another file (a ROM that moved): told, left, not blocking.
    for (const bool undoing : {false, true}) {
        r.state = JournalRecord::State::Pending;
        writeBytes(journal,
                   std::string(kJournalHeader) + encodeRecord(r) + (undoing ? encodeUndoMarker(1) : ""));
        const StepOutcome outcome = write({{"0[1].txt", 0, bytes("Z")}});
        EXPECT_EQ(outcome.error, 0);
        EXPECT_EQ(outcome.unfinished, (Unfinished{victim, undoing}));
        EXPECT_EQ(readBytes(victim), "hostile!");
        EXPECT_EQ(undo().kind, UndoOutcome::Kind::Undone);
        EXPECT_EQ(readBytes(rom), base);
    }

    // Fields that disagree make the record unreadable.
    r.oldBytes = bytes("rm");
    EXPECT_EQ(parseJournal(std::string(kJournalHeader) + encodeRecord(r)).condition,
              JournalContents::Condition::Damaged);
}

TEST_F(JournalTest, ADamagedJournalIsRefusedAndKeptUntouched) {
    const std::vector<std::tuple<const char*, std::size_t, char>> damages = {
        {"a flipped byte mid-file", 20, 'q'},
        {"a length that runs past the end", 13, '\x7F'},
        {"a later format", 6, '9'},
    };
    for (const auto& [name, at, byte] : damages) {
        SCOPED_TRACE(name);
        fresh();
        ASSERT_EQ(write(kThree).error, 0);
        ASSERT_EQ(write({{"8[4].txt", 8, bytes("Hola")}}).error, 0);
        std::string damaged = readBytes(journal);
        damaged.at(at) = byte;
        writeBytes(journal, damaged);
        const std::string romBefore = readBytes(rom);
        const StepOutcome refused = write({{"0[1].txt", 0, bytes("Z")}});
        EXPECT_EQ(std::tuple(refused.error, refused.file), std::tuple(FailureCode::JournalDamaged, journal));
        EXPECT_EQ(undo().error, FailureCode::JournalDamaged);
        EXPECT_EQ(readBytes(journal), damaged);
        EXPECT_EQ(readBytes(rom), romBefore);
    }
}

TEST_F(JournalTest, ATornLastRecordReadsCleanly) {
    ASSERT_EQ(write({kThree[0]}).error, 0);
    JournalRecord torn;
    torn.romPath = rom;
    torn.newBytes = bytes("torn");
    writeBytes(journal, readBytes(journal) + encodeRecord(torn).substr(0, 30));
    EXPECT_EQ(records(), 1u);
    EXPECT_EQ(undo().kind, UndoOutcome::Kind::Undone);
    EXPECT_EQ(readBytes(rom), base);
}

ProjectSettings projectAt(const std::string& file, const std::string& name, const std::string& rom) {
    ProjectSettings settings;
    settings.projectFilePath = file;
    settings.projectName = name;
    settings.romPath = rom;
    return settings;
}

TEST_F(JournalTest, EachProjectFileHasItsOwnJournalAndTakesOverTheOneUnderItsName) {
    const ProjectFiles demo = projectFilesFor(projectAt(dir.file("Demo.tpr"), "Demo", rom));
    EXPECT_EQ(demo.journal, dir.file("Demo.tpr.inserciones"));
    const std::string otherRom = dir.file("copia.smc");
    writeBytes(otherRom, base);
    const ProjectFiles copy = projectFilesFor(projectAt(dir.file("Copia.tpr"), "Demo", otherRom));

    // A journal kept under the NAME: read by its own project, moved at its
    // first insertion, never taken by the copy with the same NAME.
    ASSERT_EQ(writeStep({rom, demo.legacyJournal, {}}, kThree, {}, ops, 0).error, 0);
    EXPECT_TRUE(hasUndoableStep(demo));
    EXPECT_FALSE(hasUndoableStep(copy));
    ASSERT_EQ(writeStep(copy, {{"8[4].txt", 8, bytes("Hola")}}, {}, ops, 0).error, 0);
    EXPECT_TRUE(pathExists(demo.legacyJournal)) << "not the copy's to move";
    ASSERT_EQ(writeStep(demo, {{"0[1].txt", 0, bytes("Z")}}, {}, ops, 0).error, 0);
    EXPECT_FALSE(pathExists(demo.legacyJournal));
    EXPECT_EQ(settleJournal(demo, ops).contents->records.size(), 4u);

    EXPECT_EQ(undoLastStep(copy, ops).kind, UndoOutcome::Kind::Undone);
    EXPECT_EQ(readBytes(otherRom), base);
    EXPECT_NE(readBytes(rom), base) << "the copy's undo left the other ROM alone";
    EXPECT_EQ(undoLastStep(copy, ops).kind, UndoOutcome::Kind::Nothing);

    // Written under a new name, the project takes its journal, word list,
    // glossary and pointer file (which remembers where moved scripts live) along.
    writeBytes(dir.file("Demo.palabras.txt"), "Zelda\r\n");
    writeBytes(dir.file("Demo.glosario.txt"), "Port Azure=Puerto Azur\r\n");
    writeBytes(dir.file("Demo.tpr.punteros"), "tradumar-punteros 1\nlibre 300-3FF\n");
    EXPECT_EQ(moveProjectCompanions(dir.file("Demo.tpr"), dir.file("Nuevo.tpr")), 0);
    const ProjectFiles renamed = projectFilesFor(projectAt(dir.file("Nuevo.tpr"), "Nuevo", rom));
    EXPECT_TRUE(hasUndoableStep(renamed));
    EXPECT_EQ(readBytes(dir.file("Nuevo.palabras.txt")), "Zelda\r\n");
    EXPECT_EQ(readBytes(dir.file("Nuevo.glosario.txt")), "Port Azure=Puerto Azur\r\n");
    EXPECT_EQ(readBytes(dir.file("Nuevo.tpr.punteros")), "tradumar-punteros 1\nlibre 300-3FF\n");
}

// A second process holds the lock in the middle of a step: this one changes nothing.
TEST_F(JournalTest, ASecondWriterIsToldTheProjectIsInUse) {
    int toParent[2], toChild[2];
    ASSERT_EQ(pipe(toParent), 0);
    ASSERT_EQ(pipe(toChild), 0);
    const pid_t child = fork();
    if (child == 0) {
        char c = 0;
        const StepOutcome outcome = write(kThree, [&](std::size_t done, std::size_t) {
            if (done == 1) {
                (void)!::write(toParent[1], "w", 1); // in the middle of the step
                (void)!::read(toChild[0], &c, 1);
            }
            return true;
        });
        _exit(outcome.error == 0 && outcome.written == 3 ? 0 : 1);
    }
    char c = 0;
    ASSERT_EQ(::read(toParent[0], &c, 1), 1);
    const std::string romDuring = readBytes(rom), journalDuring = readBytes(journal);
    SeamOps mine;
    mine.rom = rom;
    EXPECT_EQ(writeStep(files, {{"8[4].txt", 8, bytes("Hola")}}, {}, mine, 0).error,
              FailureCode::ProjectInUse);
    EXPECT_EQ(undoLastStep(files, mine).error, FailureCode::ProjectInUse);
    EXPECT_EQ(settleJournal(files, mine).error, FailureCode::ProjectInUse);
    EXPECT_EQ(readBytes(rom), romDuring);
    EXPECT_EQ(readBytes(journal), journalDuring);
    ASSERT_EQ(::write(toChild[1], "g", 1), 1);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(records(), 3u);
    for (const int fd : {toParent[0], toParent[1], toChild[0], toChild[1]})
        close(fd);
}

// A real child process inserts every script (as "Insertar todos" does),
// undoes, or rolls back a failed step, and is killed with SIGKILL at its Nth
// change of a file, for every N until it finishes. Afterwards each script
// holds its old or its new bytes, the journal keeps exactly the written
// ones, and undoing everything gives back the untouched ROM.
TEST_F(JournalTest, KilledAtEveryChangeTheRomAndTheJournalAgree) {
    enum class Run { InsertAll, Undo, Rollback };
    const std::vector<RomWrite> second = {{"8[4].txt", 8, bytes("Hola")}};
    for (const Run run : {Run::InsertAll, Run::Undo, Run::Rollback}) {
        for (int point = 1;; ++point) {
            ASSERT_LT(point, 100) << "the child never finished";
            SCOPED_TRACE(::testing::Message() << static_cast<int>(run) << " killed at change " << point);
            fresh();
            if (run == Run::Undo) {
                ASSERT_EQ(write(kThree).error, 0);
                ASSERT_EQ(write(second).error, 0);
            }
            const pid_t child = fork();
            if (child == 0) {
                ops.changes = 0;
                ops.killAt = point;
                if (run == Run::Rollback)
                    ops.failRomWrite = 3;
                run == Run::Undo ? (void)undo() : (void)write(kThree);
                _exit(0);
            }
            int status = 0;
            waitpid(child, &status, 0);
            resetOps();
            const SettleOutcome settled = settleJournal(files, ops);
            ASSERT_TRUE(settled.contents);
            std::vector<std::string> inJournal;
            for (const JournalRecord& r : settled.contents->records)
                inJournal.push_back(r.scriptName);
            std::string expected = base;
            for (const RomWrite& w : kThree) {
                const std::string now = readBytes(rom).substr(w.offset, w.bytes.size());
                const bool written = now == text(w.bytes);
                EXPECT_TRUE(written || now == base.substr(w.offset, w.bytes.size())) << w.scriptName;
                EXPECT_EQ(written, std::count(inJournal.begin(), inJournal.end(), w.scriptName) == 1);
                if (written)
                    expected.replace(w.offset, w.bytes.size(), now);
            }
            if (run == Run::Undo && inJournal.size() == 4)
                expected.replace(8, 4, "Hola");
            EXPECT_TRUE(run != Run::Rollback || inJournal.empty()) << "a failed step never stays half kept";
            EXPECT_EQ(readBytes(rom), expected);
            while (undo().kind == UndoOutcome::Kind::Undone) {
            }
            EXPECT_EQ(readBytes(rom), base);
            if (WIFEXITED(status))
                break;
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        }
    }
}

} // namespace
} // namespace tradumar::testsupport
