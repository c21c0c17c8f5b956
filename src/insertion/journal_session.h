#pragma once

// The journal's machinery under its commands (insertion_journal.cpp): the
// file primitives they share, the lock's session (reading, adopting a journal
// kept under the project's old name, cutting a torn tail, settling a step a
// kill left unfinished) and putting a step's old bytes back. Only the
// insertion folder includes it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unistd.h>

#include "insertion/insertion_journal.h"

namespace tradumar::journal {

// The failure codes that stand for a system error, whose errno says more.
bool isSystemFailure(int code);

// An open file descriptor that closes itself.
class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    bool ok() const { return m_fd >= 0; }

private:
    int m_fd;
};

// A failed flush: its EINVAL says the file cannot be flushed, not that its
// name is wrong.
int syncFailure(int error);
int writeAllAt(FileOps& ops, int fd, const void* data, std::size_t size, std::int64_t offset);
int sync(FileOps& ops, int fd);
int cutAndSync(FileOps& ops, int fd, std::size_t length);
std::optional<std::int64_t> sizeOf(int fd);
// The whole file behind the descriptor, read from its start.
std::optional<std::string> readAll(int fd);
// Two names of one file: the same file when both exist, else the same
// absolute path once "." and ".." and links are resolved.
bool sameFile(const std::string& a, const std::string& b);

// The first record of the step `step` that ends the records.
std::size_t stepStart(const JournalContents& contents, std::uint64_t step);
// Records [first, end) of one step, as the checks take them.
struct StepRange {
    const JournalContents& contents;
    std::size_t first;
    std::size_t end;
    const JournalRecord& at(std::size_t i) const { return contents.records[i]; }
    const JournalRecord& last() const { return contents.records[end - 1]; }
};

// Walks the step back in a copy of the ROM: each record's range must hold
// its new bytes once the later records are undone. Returns the first record
// (from the last) that fails, or `end` when the ROM holds the whole step.
std::size_t firstNotHeld(std::string rom, const StepRange& s);
// Puts back the old bytes of the step's records from the last to the first
// and flushes the ROM (see the definition for why this may run twice).
int restoreStep(FileOps& ops, int rom, const StepRange& s);

// A journal read under its lock.
struct Loaded {
    JournalContents contents;
    std::size_t length = 0; // of the file
};

// The records of a journal kept under the project's old name can move to the
// new one when every record names the project's ROM.
bool adoptable(const JournalContents& old, const std::string& rom);

struct RomImage {
    std::optional<std::string> bytes;
    int error = 0; // of opening or reading
};

RomImage readRom(const std::string& path);

// What settling did.
enum class Settled { Nothing, Kept, RolledBack };

// Locks (or uses the caller's lock), reads and settles the journal.
struct Session {
    JournalLock own;
    JournalLock* lock = nullptr;
    std::optional<Loaded> loaded;
    Settled settled = Settled::Nothing;
};

bool openSession(const ProjectFiles& files, FileOps& ops, JournalLock* given, Session& session,
                 JournalReport& report);

// Locked commands need no journal file when none exists yet under either name.
bool noJournal(const ProjectFiles& files);

} // namespace tradumar::journal
