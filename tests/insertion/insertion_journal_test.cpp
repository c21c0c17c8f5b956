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
#include "support/temp_dir.h"

namespace tradumar::testsupport {
namespace {

// Logs which file each change goes to; can refuse to open the ROM for
// writing, fail its Nth write, or kill the process at its Nth change.
class SeamOps : public FileOps {
public:
    std::string rom;
    std::vector<std::string> log; // "write rom", "sync journal", ...
    bool romReadOnly = false;
    int failRomWrite = 0, killAt = 0, changes = 0;
    std::map<int, std::string> names;

    int open(const std::string& path, int flags) override {
        if (romReadOnly && path == rom && (flags & O_RDWR))
            return errno = EACCES, -1;
        const int fd = FileOps::open(path, flags);
        names[fd] = path == rom ? "rom" : "journal";
        return fd;
    }
    ssize_t pwrite(int fd, const void* data, std::size_t size, off_t offset) override {
        change("write", fd);
        if (names[fd] == "rom" && --failRomWrite == 0)
            return errno = EIO, -1;
        return FileOps::pwrite(fd, data, size, offset);
    }
    int ftruncate(int fd, off_t size) override { return change("cut", fd), FileOps::ftruncate(fd, size); }
    int fsync(int fd) override { return change("sync", fd), FileOps::fsync(fd); }
    int writeNewFile(const std::string& path, std::string_view content) override {
        return change("copy", -1), FileOps::writeNewFile(path, content);
    }

private:
    void change(const char* what, int fd) {
        if (++changes == killAt)
            std::raise(SIGKILL);
        log.push_back(std::string(what) + " " + (fd < 0 ? "original" : names[fd]));
    }
};

const auto bytes = [](std::string_view text) { return Bytes(text.begin(), text.end()); };
const auto text = [](const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); };

class JournalTest : public ::testing::Test {
public:
    TempDir dir;
    std::string rom = dir.file("game.smc"), journal = dir.file("Demo.inserciones");
    std::string base = std::string(64, '.');
    SeamOps ops;

    void SetUp() override { fresh(); }
    // The untouched ROM, no journal, no copy of the ROM, the seam reset.
    void fresh() {
        writeBytes(rom, base);
        std::remove(journal.c_str());
        std::remove(originalCopyPath(rom).c_str());
        ops = SeamOps{};
        ops.rom = rom;
    }
    StepOutcome write(const std::vector<RomWrite>& writes, RomCheck check = RomCheck::MustHold,
                      const KeepGoing& keepGoing = {}) {
        return writeStep(rom, journal, writes, check, keepGoing, ops, 1796000000);
    }
    std::size_t records() { return settleJournal(journal, ops)->records.size(); }
};

const std::vector<RomWrite> kThree = {{"10[4].txt", 0x10, bytes("AAAA")},
                                      {"20[4].txt", 0x20, bytes("BB\xE9\xFF\x42\x42")},
                                      {"30[2].txt", 0x30, bytes("C")}};

TEST_F(JournalTest, RecordsAreFlushedBeforeTheRomIsTouchedAndTheUntouchedRomIsKeptOnce) {
    ASSERT_EQ(write(kThree).error, 0);
    const auto first = std::find(ops.log.begin(), ops.log.end(), "write rom");
    EXPECT_EQ(std::count(ops.log.begin(), first, "sync journal"), 1) << "journal flushed before the ROM";
    EXPECT_EQ(ops.log.front(), "copy original");
    ASSERT_EQ(write({{"0[2].txt", 0, bytes("ZZ")}}).error, 0);
    EXPECT_EQ(readBytes(originalCopyPath(rom)), base) << "kept once, never overwritten";
}

TEST_F(JournalTest, UndoWalksBackStepByStep) {
    struct Row {
        const char* name;
        std::vector<std::vector<RomWrite>> steps;
        std::vector<std::size_t> restoredBytes; // by each undo, the last step first
    };
    const std::vector<Row> rows = {
        {"two steps", {{{"8[4].txt", 8, bytes("Hola")}}, kThree}, {11, 4}},
        {"overlapping scripts",
         {{{"8[8].txt", 8, bytes("12345678")}, {"A[4].txt", 10, bytes("abcdef")}}},
         {14}},
        {"past the end of the ROM", {{{"3C[4].txt", 60, bytes("abcdefgh")}}}, {4}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fresh();
        std::vector<std::string> before;
        for (const auto& step : row.steps) {
            before.insert(before.begin(), readBytes(rom));
            ASSERT_EQ(write(step, RomCheck::CreateOrExtend).error, 0);
        }
        for (std::size_t i = 0; i < row.restoredBytes.size(); ++i) {
            const UndoOutcome undone = undoLastStep(journal, ops);
            EXPECT_EQ(undone.kind, UndoOutcome::Kind::Undone);
            EXPECT_EQ(undone.bytes, row.restoredBytes[i]);
            EXPECT_EQ(readBytes(rom), before[i]);
        }
        EXPECT_FALSE(hasUndoableStep(journal));
        EXPECT_EQ(undoLastStep(journal, ops).kind, UndoOutcome::Kind::Nothing);
    }
}

TEST_F(JournalTest, UndoIsRefusedWhenTheRomChangedOutside) {
    ASSERT_EQ(write(kThree).error, 0);
    std::string changed = readBytes(rom);
    changed[0x21] = '!';
    writeBytes(rom, changed);
    const UndoOutcome refused = undoLastStep(journal, ops);
    EXPECT_EQ(refused.kind, UndoOutcome::Kind::RomChanged);
    EXPECT_EQ(refused.scriptName, "20[4].txt");
    EXPECT_EQ(readBytes(rom), changed);
    EXPECT_EQ(records(), 3u);
}

TEST_F(JournalTest, NothingIsWrittenWhenTheRomCannotTakeTheStepOrAWriteFails) {
    const std::vector<std::tuple<const char*, std::function<void(JournalTest&)>, int>> rows = {
        {"missing", [](JournalTest& t) { std::remove(t.rom.c_str()); }, FailureCode::RomNotFound},
        {"read-only", [](JournalTest& t) { t.ops.romReadOnly = true; }, FailureCode::PermissionDenied},
        {"too small", [](JournalTest& t) { writeBytes(t.rom, t.base.substr(0, 0x22)); },
         FailureCode::RomTooSmall},
        {"second write fails", [](JournalTest& t) { t.ops.failRomWrite = 2; }, FailureCode::PathFileAccess},
    };
    for (const auto& [name, arrange, error] : rows) {
        SCOPED_TRACE(name);
        fresh();
        arrange(*this);
        const std::string before = pathExists(rom) ? readBytes(rom) : "";
        EXPECT_EQ(write(kThree).error, error);
        EXPECT_EQ(pathExists(rom) ? readBytes(rom) : "", before);
        EXPECT_EQ(records(), 0u);
    }
}

TEST_F(JournalTest, AStopKeepsTheScriptsWrittenAndTheJournalSaysWhich) {
    for (const std::size_t stopAt : {0u, 2u}) {
        SCOPED_TRACE(stopAt);
        const StepOutcome outcome =
            write(kThree, RomCheck::MustHold, [&](std::size_t done, std::size_t) { return done < stopAt; });
        EXPECT_TRUE(outcome.cancelled);
        EXPECT_EQ(outcome.written, stopAt);
        std::string expected = base;
        for (std::size_t i = 0; i < stopAt; ++i)
            expected.replace(kThree[i].offset, kThree[i].bytes.size(), text(kThree[i].bytes));
        EXPECT_EQ(readBytes(rom), expected);
        EXPECT_EQ(records(), stopAt);
        undoLastStep(journal, ops);
        EXPECT_EQ(readBytes(rom), base);
    }
}

TEST_F(JournalTest, ATornLastRecordReadsCleanly) {
    ASSERT_EQ(write({kThree[0]}).error, 0);
    JournalRecord torn;
    torn.romPath = rom;
    torn.newBytes = bytes("torn");
    writeBytes(journal, readBytes(journal) + encodeRecord(torn).substr(0, 30));
    EXPECT_EQ(records(), 1u);
    EXPECT_EQ(undoLastStep(journal, ops).kind, UndoOutcome::Kind::Undone);
    EXPECT_EQ(readBytes(rom), base);
}

// A real child process inserts (or undoes) and is killed with SIGKILL at its
// Nth change of a file, for every N until it finishes. Afterwards each script
// holds its old or its new bytes, the journal keeps exactly the written ones,
// and undoing everything gives back the untouched ROM.
TEST_F(JournalTest, KilledAtEveryChangeTheRomAndTheJournalAgree) {
    const std::vector<RomWrite> second = {{"8[4].txt", 8, bytes("Hola")}};
    for (const bool killUndo : {false, true}) {
        for (int point = 1;; ++point) {
            ASSERT_LT(point, 100) << "the child never finished";
            SCOPED_TRACE(::testing::Message()
                         << (killUndo ? "undo" : "insert") << " killed at change " << point);
            fresh();
            if (killUndo) {
                ASSERT_EQ(write(kThree).error, 0);
                ASSERT_EQ(write(second).error, 0);
            }
            const pid_t child = fork();
            if (child == 0) {
                ops.changes = 0;
                ops.killAt = point;
                killUndo ? (void)undoLastStep(journal, ops) : (void)write(kThree);
                _exit(0);
            }
            int status = 0;
            waitpid(child, &status, 0);
            const std::optional<JournalContents> settled = settleJournal(journal, ops);
            ASSERT_TRUE(settled);
            std::vector<std::string> inJournal;
            for (const JournalRecord& r : settled->records)
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
            if (killUndo && inJournal.size() == 4)
                expected.replace(8, 4, "Hola");
            EXPECT_EQ(readBytes(rom), expected);
            while (undoLastStep(journal, ops).kind == UndoOutcome::Kind::Undone) {
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
