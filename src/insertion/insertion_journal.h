#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

#include "encoding/conversions.h"

namespace tradumar {

class ProjectSettings;

// Failures of a journalled insertion besides the codes of a plain write.
namespace FailureCode {
constexpr int RomNotFound = 53;    // inserting needs the ROM to exist
constexpr int ProjectInUse = 54;   // another copy of the program holds the journal's lock
constexpr int JournalDamaged = 57; // the journal is damaged or of an unknown format; nothing written
constexpr int ForeignRom = 58;     // the journal's step names a file that is not the project's ROM
constexpr int RomSizeChanged = 59; // the ROM's size is not the one the journal recorded
constexpr int RomReplaced = 61;    // the ROM cannot be read or no longer holds what the journal expects
constexpr int StaleOriginal = 62;  // "<rom>.original" is not the ROM about to be changed
constexpr int RomTooSmall = 63;    // a script's bytes would reach past the ROM's end
constexpr int PartialStep = 64;    // a step failed and could not be rolled back
} // namespace FailureCode

// The file operations that change files during an insertion or an undo. The
// program uses this class as it is; tests derive from it to fail an open (a
// read-only ROM, whoever runs the test), fail a write or a flush, or stop the
// process after a given number of changes.
class FileOps {
public:
    virtual ~FileOps() = default;
    virtual int open(const std::string& path, int flags);
    virtual ssize_t pwrite(int fd, const void* data, std::size_t size, off_t offset);
    virtual int ftruncate(int fd, off_t size);
    virtual int fsync(int fd);
    // A file written whole through a temporary file and a rename; 0 or an errno.
    virtual int writeNewFile(const std::string& path, std::string_view content);
    // Flushes the folder that holds the path, after a file in it was created
    // or renamed; 0 or an errno.
    virtual int syncFolderOf(const std::string& path);
};

// One insertion as the journal keeps it.
struct JournalRecord {
    // Pending: recorded, the ROM write may or may not have happened.
    // Done: the ROM holds newBytes at offset (unless changed since).
    enum class State : char { Pending = 'P', Done = 'D' };
    State state = State::Pending;
    std::uint64_t step = 0;         // the records of one command share it; one undo reverses them
    std::int64_t time = 0;          // seconds since 1970
    std::int64_t offset = 0;        // in the ROM
    std::int64_t romSizeBefore = 0; // the ROM's length just before this write
    std::string romPath;
    std::string scriptName;
    Bytes oldBytes; // the range before the write; shorter when the write made the ROM longer
    Bytes newBytes;

    // The ROM's length right after this write.
    std::int64_t romSizeAfter() const;
    bool operator==(const JournalRecord&) const = default;
};

// The untouched copy "<rom>.original" as the journal saw it when it was kept.
struct OriginalCopy {
    std::string romPath;
    std::uint64_t size = 0;
    std::uint32_t crc = 0; // CRC-32 of the zip format
    bool operator==(const OriginalCopy&) const = default;
};

struct JournalContents {
    // Whole: every byte read. Torn: the last entry runs to the end of the
    // file unfinished (a killed append), which may be cut. Damaged: an entry
    // in the middle cannot be read, or the header is not a journal's; the
    // file must stay as it is.
    enum class Condition { Whole, Torn, Damaged, UnknownFormat };
    Condition condition = Condition::Whole;
    int version = 0; // of the header; 0 for an empty file
    std::vector<JournalRecord> records;
    std::vector<std::size_t> positions;   // where each record starts in the file
    std::vector<OriginalCopy> originals;  // in file order
    std::optional<std::uint64_t> undoing; // a step whose undo was begun and not finished
    std::size_t validLength = 0;          // the header and whole entries; the rest is torn or damaged
};

// The journal file, "<project file name>.inserciones" beside the project file:
//
//   header  "TRDJNL2\n" ("TRDJNL1\n" in journals written before the copy's
//           check was kept; read the same, and moved to 2 on the next append)
//   entry   kind (1 byte), state (1 byte), body length (u32), CRC-32 of the body (u32), body
//
// All numbers little-endian. Kind 'I' is an insertion (state 'P' or 'D', the
// only byte rewritten in place); its body is step (u64), time (i64), offset
// (i64), ROM size before (i64), then ROM path, script name, old bytes and new
// bytes, each as a u32 length and its bytes. The old bytes are exactly the
// part of the range that lay inside the ROM. Kind 'U' (state 'P', body the
// step as u64) says the undo of that step began; while it is the last entry
// the undo is unfinished. Kind 'O' (state 'P', version 2) records the
// untouched copy: size (u64), CRC-32 (u32), then the ROM path as a block.
//
// Entries are only appended. A process killed while appending leaves a torn
// tail, which is cut before the next append; damage anywhere else keeps the
// file untouched.
JournalContents parseJournal(std::string_view bytes);
constexpr std::string_view kJournalHeader = "TRDJNL2\n";
constexpr std::string_view kJournalHeaderV1 = "TRDJNL1\n";
std::string encodeRecord(const JournalRecord& record);
std::string encodeUndoMarker(std::uint64_t step);
std::string encodeOriginalCopy(const OriginalCopy& copy);

// The files an insertion concerns.
struct ProjectFiles {
    std::string rom;           // the project's ROM: the only file the journal writes into
    std::string journal;       // "<project file name>.inserciones"
    std::string legacyJournal; // "<project NAME>.inserciones", read until moved to `journal`
    // Every step that writes into the ROM also sets its checksum again, in
    // the same step, so an undo or a settling puts both back together.
    bool fixChecksum = false;
};

// The journal of a project file: "<project file name>.inserciones" in its
// folder. Empty while no project file is known.
std::string journalPathFor(const std::string& projectFilePath);
ProjectFiles projectFilesFor(const ProjectSettings& settings);

// "<rom file name>.original": the ROM as it was before the project first wrote into it.
std::string originalCopyPath(const std::string& romPath);

// CRC-32 of the zip format.
std::uint32_t journalCrc32(std::string_view data);

// An exclusive lock (flock) on a project's journal, held while it lives.
// Every command that changes the journal or the ROM through it holds one, so
// two copies of the program (or a command-line run) never interleave.
class JournalLock {
public:
    // Opens (creating when missing, then flushing its folder) and locks the
    // journal without waiting. error: ProjectInUse when another process holds
    // it, or the code of the system error.
    static JournalLock acquire(FileOps& ops, const std::string& journalPath, int* error);
    JournalLock() = default;
    JournalLock(JournalLock&& other) noexcept;
    JournalLock& operator=(JournalLock&& other) noexcept;
    ~JournalLock();
    bool held() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    const std::string& path() const { return m_path; }

private:
    int m_fd = -1;
    std::string m_path;
};

// Something unfinished the journal holds for a file other than the project's
// ROM (a ROM that moved or is gone): left as it is, reported, never blocking.
struct Unfinished {
    std::string romPath;
    bool undo = false; // an undo begun; otherwise an insertion
    bool operator==(const Unfinished&) const = default;
};

// What a journalled command reports besides its result.
struct JournalReport {
    int error = 0;                 // FailureCode; the ROM and the journal are then as they were
    std::string file;              // the file an error concerns (a foreign ROM, the damaged journal)
    std::int64_t expectedSize = 0; // for RomSizeChanged
    std::int64_t actualSize = 0;
    std::size_t damagedAt = 0;               // for JournalDamaged: the byte where reading stopped
    int systemError = 0;                     // the errno behind a system failure (52, 70, 75, 76)
    std::int64_t offset = 0;                 // for RomTooSmall: where the script starts
    std::int64_t end = 0;                    // and where it ends (actualSize: the ROM's size)
    std::vector<std::string> partialScripts; // for PartialStep: scripts whose bytes stay in the ROM
    std::optional<Unfinished> unfinished;    // left for another file
    bool settled = false;                    // an unfinished step of the project's ROM was settled first
    // With fixChecksum: the ROM is of none of the kinds whose checksum the
    // program knows; the scripts were written without it.
    bool checksumUnrecognised = false;
};

struct RomWrite {
    std::string scriptName;
    std::int64_t offset = 0;
    Bytes bytes;
};

// Asked before each script is written with the number written so far;
// false stops there.
using KeepGoing = std::function<bool(std::size_t done, std::size_t total)>;

struct StepOutcome : JournalReport {
    std::size_t written = 0; // scripts
    std::size_t bytes = 0;
    bool cancelled = false;
    bool journalUnflushed = false; // written and in the ROM; the journal's last flush failed
};

// Writes the ranges into the project's ROM in order as one journalled step,
// followed, with files.fixChecksum, by the checksum of the ROM they leave,
// holding the journal's lock (the caller's, when given). The ROM must exist
// and hold every range; it never grows. Before the ROM is touched: the
// journal is settled, a copy of the untouched ROM is kept and recorded (the
// first time this journal writes into it), and every record is appended and
// flushed. The ROM is flushed before any record is marked done. A failed
// write restores what the step wrote; a stop keeps the scripts written so
// far and drops the other records, and the checksum records are then worked
// out again for the scripts written.
StepOutcome writeStep(const ProjectFiles& files, const std::vector<RomWrite>& writes,
                      const KeepGoing& keepGoing, FileOps& ops, std::int64_t now,
                      JournalLock* lock = nullptr);

struct UndoOutcome : JournalReport {
    // Finished: only an undo or a rollback that had been interrupted was finished.
    enum class Kind { Nothing, Undone, Finished, RomChanged, Failed };
    Kind kind = Kind::Nothing;
    std::size_t bytes = 0; // restored
    std::size_t scripts = 0;
    std::int64_t offset = 0; // of the (first) record concerned
    std::string scriptName;
};

// Reverses the last step: checks that it names the project's ROM, that the
// ROM has the size the step left and still holds what the step wrote
// (RomChanged and nothing touched otherwise), restores the old bytes and
// removes the step's records. An undo that was interrupted is finished instead.
UndoOutcome undoLastStep(const ProjectFiles& files, FileOps& ops);

struct SettleOutcome : JournalReport {
    std::optional<JournalContents> contents; // afterwards; nothing when not settled
};

// Brings a journal left by a killed process into agreement with the
// project's ROM: an interrupted undo is finished; an unfinished step is kept
// whole when the ROM holds all its bytes and rolled back whole otherwise. A
// ROM that cannot be read or holds what neither the step's old nor its new
// bytes explain keeps the journal as it is (RomReplaced).
SettleOutcome settleJournal(const ProjectFiles& files, FileOps& ops);

// Renames a damaged journal to "<journal>.apartado-N" (the first free N) and
// flushes its folder. The next insertion starts a new journal, which already
// records the untouched copy the project kept. Returns the new name, or
// nothing (error set) when it could not be renamed.
std::optional<std::string> setJournalAside(const ProjectFiles& files, FileOps& ops, int* error);

// After the project file was written under a new name, its journal, word
// list, glossary and pointer file follow it (unless one already exists
// under the new name). Returns 0 or the errno of a failed rename.
int moveProjectCompanions(const std::string& oldProjectFile, const std::string& newProjectFile);

// True when the journal (or the one under the project's old name) holds an
// insertion to undo, or is damaged: undoing then says so and offers to set
// it aside.
bool hasUndoableStep(const ProjectFiles& files);

// How "<rom>.original" compares with what the journal recorded of it.
struct OriginalCheck {
    enum class Status { NotRecorded, Matches, Differs, Missing };
    Status status = Status::NotRecorded;
    OriginalCopy recorded;
    std::uint64_t size = 0; // of the copy now
    std::uint32_t crc = 0;
};
OriginalCheck checkOriginalCopy(const ProjectFiles& files);

} // namespace tradumar
