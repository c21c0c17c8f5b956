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
constexpr int RomNotFound = 53; // inserting every script needs the ROM to exist
constexpr int RomTooSmall = 63; // a script's bytes would reach past the ROM's end
} // namespace FailureCode

// The file operations that change files during an insertion or an undo. The
// program uses this class as it is; tests derive from it to fail an open (a
// read-only ROM, whoever runs the test) or to stop the process after a given
// number of changes.
class FileOps {
public:
    virtual ~FileOps() = default;
    virtual int open(const std::string& path, int flags);
    virtual ssize_t pwrite(int fd, const void* data, std::size_t size, off_t offset);
    virtual int ftruncate(int fd, off_t size);
    virtual int fsync(int fd);
    // A file written whole through a temporary file and a rename; 0 or an errno.
    virtual int writeNewFile(const std::string& path, std::string_view content);
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

    bool operator==(const JournalRecord&) const = default;
};

struct JournalContents {
    std::vector<JournalRecord> records;
    std::vector<std::size_t> positions;   // where each record starts in the file
    std::optional<std::uint64_t> undoing; // a step whose undo was begun and not finished
    std::size_t validLength = 0;          // the header and whole entries; the rest is a torn append
};

// The journal file, "<project name>.inserciones" beside the project file:
//
//   header  "TRDJNL1\n"
//   entry   kind (1 byte), state (1 byte), body length (u32), CRC-32 of the body (u32), body
//
// All numbers little-endian. Kind 'I' is an insertion (state 'P' or 'D', the
// only byte rewritten in place); its body is step (u64), time (i64), offset
// (i64), ROM size before (i64), then ROM path, script name, old bytes and new
// bytes, each as a u32 length and its bytes. Kind 'U' (state 'P', body the
// step as u64) says the undo of that step began; it is always the last entry.
//
// Entries are only appended, and only after the file is cut back to its last
// whole entry: a process killed while appending leaves a torn tail that
// reading ignores. Reading stops at the first entry that is not whole and
// intact.
JournalContents parseJournal(std::string_view bytes);
constexpr std::string_view kJournalHeader = "TRDJNL1\n";
std::string encodeRecord(const JournalRecord& record);
std::string encodeUndoMarker(std::uint64_t step);

// "<project name>.inserciones" in the project file's folder; empty while no
// project file is known.
std::string journalPathFor(const ProjectSettings& settings);

// "<rom file name>.original": the ROM as it was before the project first wrote into it.
std::string originalCopyPath(const std::string& romPath);

struct RomWrite {
    std::string scriptName;
    std::int64_t offset = 0;
    Bytes bytes;
};

// Asked before each script is written with the number written so far;
// false stops there.
using KeepGoing = std::function<bool(std::size_t done, std::size_t total)>;

// CreateOrExtend: a missing ROM is created and a write may make it longer (one
// script's insertion). MustHold: the ROM must exist and hold every range.
enum class RomCheck { CreateOrExtend, MustHold };

struct StepOutcome {
    int error = FailureCode::None; // the ROM and the journal are then as they were
    std::size_t written = 0;       // scripts
    std::size_t bytes = 0;
    bool cancelled = false;
};

// Writes the ranges into the ROM in order as one journalled step. Before the
// ROM is touched: a copy of the untouched ROM is kept (the first time this
// journal writes into it), and every record is appended and flushed. Each
// write is then marked done. A failed write restores what the step wrote;
// a stop keeps the scripts written so far and drops the other records.
StepOutcome writeStep(const std::string& romPath, const std::string& journalPath,
                      const std::vector<RomWrite>& writes, RomCheck check, const KeepGoing& keepGoing,
                      FileOps& ops, std::int64_t now);

struct UndoOutcome {
    enum class Kind { Nothing, Undone, RomChanged, Failed };
    Kind kind = Kind::Nothing;
    int error = FailureCode::None; // for Failed
    std::size_t bytes = 0;         // restored
    std::size_t scripts = 0;
    std::int64_t offset = 0; // of the (first) record concerned
    std::string scriptName;
};

// Reverses the last step: checks that the ROM still holds what the step wrote
// (RomChanged and nothing touched otherwise), restores the old bytes and
// removes the step's records. An undo that was interrupted is finished instead.
UndoOutcome undoLastStep(const std::string& journalPath, FileOps& ops);

// Brings a journal left by a killed process into agreement with the ROM: an
// interrupted undo is finished; a pending record is marked done when the ROM
// holds its bytes and dropped (its range restored) otherwise. Returns the
// contents afterwards, or nothing when the journal cannot be read or settled.
std::optional<JournalContents> settleJournal(const std::string& journalPath, FileOps& ops);

// True when the journal holds an insertion to undo.
bool hasUndoableStep(const std::string& journalPath);

} // namespace tradumar
