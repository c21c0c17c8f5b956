#include "insertion/insertion_journal.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "checksum/rom_checksum.h"
#include "common/file_io.h"
#include "insertion/rom_writer.h"
#include "pointers/pointer_file.h"
#include "project/project_settings.h"
#include "spellcheck/project_words.h"

namespace tradumar {

namespace {

// The failure codes that stand for a system error, whose errno says more.
bool isSystemFailure(int code) {
    return code == FailureCode::BadFileName || code == FailureCode::PermissionDenied ||
           code == FailureCode::PathFileAccess || code == FailureCode::PathNotFound;
}

} // namespace

int FileOps::open(const std::string& path, int flags) {
    return ::open(path.c_str(), flags | O_CLOEXEC, 0666);
}
ssize_t FileOps::pwrite(int fd, const void* data, std::size_t size, off_t offset) {
    return ::pwrite(fd, data, size, offset);
}
int FileOps::ftruncate(int fd, off_t size) {
    return ::ftruncate(fd, size);
}
int FileOps::fsync(int fd) {
    return ::fsync(fd);
}
int FileOps::writeNewFile(const std::string& path, std::string_view content) {
    return writeFileAtomically(path, content);
}
int FileOps::syncFolderOf(const std::string& path) {
    return syncFolderHolding(path);
}

namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The journal's name under which projects kept it before it followed the project file.
std::string legacyJournalPathFor(const ProjectSettings& settings) {
    const std::string& file = settings.projectFilePath;
    if (file.empty())
        return {};
    const std::string folder = folderOf(file);
    std::string name = settings.projectName;
    if (name.empty()) { // the project file's own name without its extension
        name = file.substr(folder.size());
        name = name.substr(0, name.rfind('.'));
    }
    return folder + name + ".inserciones";
}

} // namespace

std::string journalPathFor(const std::string& projectFilePath) {
    return projectFilePath.empty() ? std::string() : projectFilePath + ".inserciones";
}

ProjectFiles projectFilesFor(const ProjectSettings& settings) {
    return {settings.romPath, journalPathFor(settings.projectFilePath), legacyJournalPathFor(settings),
            settings.fixChecksum};
}

std::string originalCopyPath(const std::string& romPath) {
    return romPath + ".original";
}

namespace {

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
int syncFailure(int error) {
    return error == EINVAL ? FailureCode::PathFileAccess : failureCodeForError(error);
}

int writeAllAt(FileOps& ops, int fd, const void* data, std::size_t size, std::int64_t offset) {
    const auto* bytes = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ops.pwrite(fd, bytes + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return failureCodeForError(n < 0 ? errno : EIO);
        done += static_cast<std::size_t>(n);
    }
    return FailureCode::None;
}

int sync(FileOps& ops, int fd) {
    return ops.fsync(fd) == 0 ? FailureCode::None : syncFailure(errno);
}

int cutAndSync(FileOps& ops, int fd, std::size_t length) {
    if (ops.ftruncate(fd, static_cast<off_t>(length)) != 0)
        return failureCodeForError(errno);
    return sync(ops, fd);
}

std::optional<std::int64_t> sizeOf(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return std::nullopt;
    return static_cast<std::int64_t>(info.st_size);
}

// The whole file behind the descriptor, read from its start.
std::optional<std::string> readAll(int fd) {
    const std::optional<std::int64_t> size = sizeOf(fd);
    if (!size)
        return std::nullopt;
    std::string content(static_cast<std::size_t>(*size), '\0');
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::pread(fd, content.data() + done, content.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? std::nullopt : std::optional(content.substr(0, done));
        done += static_cast<std::size_t>(n);
    }
    return content;
}

bool holds(const std::string& rom, std::int64_t offset, const Bytes& bytes) {
    const auto at = static_cast<std::size_t>(offset);
    return at <= rom.size() && bytes.size() <= rom.size() - at &&
           std::equal(bytes.begin(), bytes.end(), rom.begin() + static_cast<std::ptrdiff_t>(at),
                      [](std::uint8_t b, char c) { return b == static_cast<std::uint8_t>(c); });
}

// Two names of one file: the same file when both exist, else the same
// absolute path once "." and ".." and links are resolved.
bool sameFile(const std::string& a, const std::string& b) {
    struct stat x {
    }, y{};
    if (::stat(a.c_str(), &x) == 0 && ::stat(b.c_str(), &y) == 0)
        return x.st_dev == y.st_dev && x.st_ino == y.st_ino;
    std::error_code e1, e2;
    const auto ca = std::filesystem::weakly_canonical(std::filesystem::absolute(a, e1), e1);
    const auto cb = std::filesystem::weakly_canonical(std::filesystem::absolute(b, e2), e2);
    return !e1 && !e2 && ca == cb;
}

// The first record of the step `step` that ends the records.
std::size_t stepStart(const JournalContents& contents, std::uint64_t step) {
    std::size_t first = contents.records.size();
    while (first > 0 && contents.records[first - 1].step == step)
        --first;
    return first;
}

// Records [first, end) of one step, as the checks below take them.
struct StepRange {
    const JournalContents& contents;
    std::size_t first;
    std::size_t end;
    const JournalRecord& at(std::size_t i) const { return contents.records[i]; }
    const JournalRecord& last() const { return contents.records[end - 1]; }
};

// True when every byte in the step's ranges holds the old or the new byte
// of some record of the step, and the ROM has a size the step can leave: a
// ROM the step was being written into or taken out of, not another one.
bool explainedByStep(const std::string& rom, const StepRange& s) {
    bool sizeFits = false;
    for (std::size_t i = s.first; i < s.end; ++i)
        sizeFits = sizeFits || static_cast<std::int64_t>(rom.size()) == s.at(i).romSizeBefore ||
                   static_cast<std::int64_t>(rom.size()) == s.at(i).romSizeAfter();
    if (!sizeFits)
        return false;
    const auto byteOf = [](const JournalRecord& r, std::int64_t pos, std::uint8_t value) {
        const std::int64_t i = pos - r.offset;
        if (i < 0 || i >= static_cast<std::int64_t>(r.newBytes.size()))
            return false;
        const auto k = static_cast<std::size_t>(i);
        return r.newBytes[k] == value || (k < r.oldBytes.size() && r.oldBytes[k] == value);
    };
    for (std::size_t i = s.first; i < s.end; ++i) {
        const JournalRecord& r = s.at(i);
        for (std::size_t k = 0; k < r.newBytes.size(); ++k) {
            const std::int64_t pos = r.offset + static_cast<std::int64_t>(k);
            if (pos >= static_cast<std::int64_t>(rom.size())) {
                if (pos < r.romSizeBefore)
                    return false;
                continue;
            }
            const auto value = static_cast<std::uint8_t>(rom[static_cast<std::size_t>(pos)]);
            if (byteOf(r, pos, value))
                continue;
            bool explained = false;
            for (std::size_t j = s.first; j < s.end && !explained; ++j)
                explained = j != i && byteOf(s.at(j), pos, value);
            if (!explained)
                return false;
        }
    }
    return true;
}

// Walks the step back in a copy of the ROM: each record's range must hold
// its new bytes once the later records are undone. Returns the first record
// (from the last) that fails, or `end` when the ROM holds the whole step.
std::size_t firstNotHeld(std::string rom, const StepRange& s) {
    for (std::size_t i = s.end; i-- > s.first;) {
        const JournalRecord& r = s.at(i);
        if (!holds(rom, r.offset, r.newBytes))
            return i;
        std::copy(r.oldBytes.begin(), r.oldBytes.end(), rom.begin() + static_cast<std::ptrdiff_t>(r.offset));
        if (r.romSizeBefore < static_cast<std::int64_t>(rom.size()))
            rom.resize(static_cast<std::size_t>(r.romSizeBefore));
    }
    return s.end;
}

// Puts back the old bytes of the step's records from the last to the first
// and flushes the ROM. Writing every old range in reverse order leaves the
// ROM as before the first of them whatever part of this was done already, so
// a killed restore is finished by running it again. A ROM the step made
// longer is cut back only while it has the size the step left.
int restoreStep(FileOps& ops, int rom, const StepRange& s) {
    for (std::size_t i = s.end; i-- > s.first;) {
        const JournalRecord& r = s.at(i);
        if (const int code = writeAllAt(ops, rom, r.oldBytes.data(), r.oldBytes.size(), r.offset))
            return code;
        const std::optional<std::int64_t> size = sizeOf(rom);
        if (size && r.romSizeBefore < *size && *size == r.romSizeAfter() &&
            ops.ftruncate(rom, static_cast<off_t>(r.romSizeBefore)) != 0)
            return failureCodeForError(errno);
    }
    return sync(ops, rom);
}

// A journal read under its lock.
struct Loaded {
    JournalContents contents;
    std::size_t length = 0; // of the file
};

// The records of a journal kept under the project's old name can move to the
// new one when every record names the project's ROM.
bool adoptable(const JournalContents& old, const std::string& rom) {
    if (old.condition == JournalContents::Condition::Damaged ||
        old.condition == JournalContents::Condition::UnknownFormat || (old.records.empty() && !old.undoing))
        return false;
    return std::all_of(old.records.begin(), old.records.end(),
                       [&](const JournalRecord& r) { return sameFile(r.romPath, rom); });
}

// Reads the locked journal: one left under the project's old name moves in
// first, a torn tail is cut off, and a damaged one is refused.
std::optional<Loaded> loadLocked(const ProjectFiles& files, FileOps& ops, const JournalLock& lock,
                                 JournalReport& report) {
    std::optional<std::string> bytes = readAll(lock.fd());
    if (!bytes) {
        report.error = failureCodeForError(errno);
        return std::nullopt;
    }
    if (bytes->empty() && !files.legacyJournal.empty() && files.legacyJournal != files.journal) {
        if (std::optional<std::string> old = readWholeFile(files.legacyJournal);
            old && adoptable(parseJournal(*old), files.rom)) {
            if (int code = writeAllAt(ops, lock.fd(), old->data(), old->size(), 0); code == 0) {
                code = sync(ops, lock.fd());
                if (code == 0 && ::unlink(files.legacyJournal.c_str()) != 0)
                    code = failureCodeForError(errno);
                if (code == 0 && ops.syncFolderOf(files.legacyJournal) != 0)
                    code = syncFailure(errno);
                if (code != 0) {
                    ops.ftruncate(lock.fd(), 0);
                    report.error = code;
                    return std::nullopt;
                }
                bytes = std::move(old);
            }
        }
    }
    Loaded loaded{parseJournal(*bytes), bytes->size()};
    switch (loaded.contents.condition) {
    case JournalContents::Condition::Whole:
        break;
    case JournalContents::Condition::Torn:
        if (const int code = cutAndSync(ops, lock.fd(), loaded.contents.validLength)) {
            report.error = code;
            return std::nullopt;
        }
        loaded.length = loaded.contents.validLength;
        loaded.contents.condition = JournalContents::Condition::Whole;
        break;
    case JournalContents::Condition::Damaged:
    case JournalContents::Condition::UnknownFormat:
        report.error = FailureCode::JournalDamaged;
        report.file = files.journal;
        report.damagedAt = loaded.contents.validLength;
        return std::nullopt;
    }
    return loaded;
}

struct RomImage {
    std::optional<std::string> bytes;
    int error = 0; // of opening or reading
};

RomImage readRom(const std::string& path) {
    const Fd rom(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    RomImage image;
    if (rom.ok())
        image.bytes = readAll(rom.get());
    if (!image.bytes)
        image.error = errno;
    return image;
}

// What settling did.
enum class Settled { Nothing, Kept, RolledBack };

// Settles an unfinished undo, or an unfinished last step, of the project's
// ROM; either one naming another file is reported and left.
Settled settleLocked(const ProjectFiles& files, FileOps& ops, const JournalLock& lock, Loaded& loaded,
                     JournalReport& report) {
    JournalContents& c = loaded.contents;
    const bool undoing = c.undoing.has_value();
    std::size_t first = c.records.size();
    if (undoing) {
        first = stepStart(c, *c.undoing);
    } else if (!c.records.empty()) {
        first = stepStart(c, c.records.back().step);
        const bool pending =
            std::any_of(c.records.begin() + static_cast<std::ptrdiff_t>(first), c.records.end(),
                        [](const auto& r) { return r.state == JournalRecord::State::Pending; });
        if (!pending)
            return Settled::Nothing;
    } else {
        return Settled::Nothing;
    }
    const StepRange step{c, first, c.records.size()};
    const std::size_t markerAt = c.validLength - encodeUndoMarker(0).size();
    const std::size_t cut = first < step.end ? c.positions[first] : markerAt;
    if (first < step.end && !sameFile(c.records[first].romPath, files.rom)) {
        report.unfinished = Unfinished{c.records[first].romPath, undoing};
        return Settled::Nothing;
    }
    if (first == step.end) { // an undo that restored everything and was killed before the cut
        if (const int code = cutAndSync(ops, lock.fd(), cut))
            return report.error = code, Settled::Nothing;
        return Settled::RolledBack;
    }
    const RomImage image = readRom(files.rom);
    if (!image.bytes || !explainedByStep(*image.bytes, step)) {
        report.error = FailureCode::RomReplaced;
        report.file = files.rom;
        return Settled::Nothing;
    }
    report.settled = true;
    if (!undoing && firstNotHeld(*image.bytes, step) == step.end) {
        const char done = static_cast<char>(JournalRecord::State::Done);
        for (std::size_t i = first; i < step.end; ++i)
            if (c.records[i].state == JournalRecord::State::Pending)
                if (const int code =
                        writeAllAt(ops, lock.fd(), &done, 1, static_cast<std::int64_t>(c.positions[i]) + 1))
                    return report.error = code, Settled::Nothing;
        if (const int code = sync(ops, lock.fd()))
            return report.error = code, Settled::Nothing;
        for (std::size_t i = first; i < step.end; ++i)
            c.records[i].state = JournalRecord::State::Done;
        return Settled::Kept;
    }
    const Fd rom(ops.open(files.rom, O_RDWR));
    if (!rom.ok())
        return report.error = failureCodeForError(errno), Settled::Nothing;
    if (const int code = restoreStep(ops, rom.get(), step))
        return report.error = code, Settled::Nothing;
    if (const int code = cutAndSync(ops, lock.fd(), cut))
        return report.error = code, Settled::Nothing;
    return Settled::RolledBack;
}

// Locks (or uses the caller's lock), reads and settles the journal.
struct Session {
    JournalLock own;
    JournalLock* lock = nullptr;
    std::optional<Loaded> loaded;
    Settled settled = Settled::Nothing;
};

bool openSession(const ProjectFiles& files, FileOps& ops, JournalLock* given, Session& session,
                 JournalReport& report) {
    if (given && given->held()) {
        session.lock = given;
    } else {
        session.own = JournalLock::acquire(ops, files.journal, &report.error);
        if (!session.own.held())
            return false;
        session.lock = &session.own;
    }
    session.loaded = loadLocked(files, ops, *session.lock, report);
    if (!session.loaded)
        return false;
    const std::size_t before = session.loaded->contents.validLength;
    session.settled = settleLocked(files, ops, *session.lock, *session.loaded, report);
    if (report.error != 0)
        return false;
    if (session.settled == Settled::RolledBack || before != session.loaded->contents.validLength) {
        report.error = 0;
        session.loaded = loadLocked(files, ops, *session.lock, report);
    }
    return session.loaded.has_value();
}

// Locked commands need no journal file when none exists yet under either name.
bool noJournal(const ProjectFiles& files) {
    return !pathExists(files.journal) && (files.legacyJournal.empty() || !pathExists(files.legacyJournal));
}

} // namespace

JournalLock JournalLock::acquire(FileOps& ops, const std::string& journalPath, int* error) {
    *error = 0;
    JournalLock lock;
    if (journalPath.empty() || journalPath.find('\0') != std::string::npos) {
        *error = FailureCode::BadFileName;
        return lock;
    }
    // The file may be renamed aside by the holder of the lock between our
    // open and our lock: the lock then holds only when the name still names it.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const bool existed = pathExists(journalPath);
        const int fd = ops.open(journalPath, O_RDWR | O_CREAT);
        if (fd < 0) {
            *error = failureCodeForError(errno);
            return lock;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            *error = errno == EWOULDBLOCK ? FailureCode::ProjectInUse : failureCodeForError(errno);
            ::close(fd);
            return lock;
        }
        struct stat held {
        }, named{};
        if (::fstat(fd, &held) == 0 && ::stat(journalPath.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            if (!existed && ops.syncFolderOf(journalPath) != 0) {
                *error = syncFailure(errno);
                ::close(fd);
                return lock;
            }
            lock.m_fd = fd;
            lock.m_path = journalPath;
            return lock;
        }
        ::close(fd);
    }
    *error = FailureCode::ProjectInUse;
    return lock;
}

JournalLock::JournalLock(JournalLock&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path)) {}

JournalLock& JournalLock::operator=(JournalLock&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
    }
    return *this;
}

JournalLock::~JournalLock() {
    if (m_fd >= 0)
        ::close(m_fd); // closing the last descriptor releases the lock
}

SettleOutcome settleJournal(const ProjectFiles& files, FileOps& ops) {
    SettleOutcome outcome;
    if (noJournal(files)) {
        outcome.contents = JournalContents{};
        return outcome;
    }
    Session session;
    if (openSession(files, ops, nullptr, session, outcome))
        outcome.contents = std::move(session.loaded->contents);
    return outcome;
}

bool hasUndoableStep(const ProjectFiles& files) {
    const auto undoable = [](const std::string& path, const std::string& rom, bool legacy) {
        const std::optional<std::string> bytes = path.empty() ? std::nullopt : readWholeFile(path);
        if (!bytes || bytes->empty())
            return std::optional<bool>();
        const JournalContents c = parseJournal(*bytes);
        if (legacy && !adoptable(c, rom))
            return std::optional<bool>(false);
        const bool damaged = c.condition == JournalContents::Condition::Damaged ||
                             c.condition == JournalContents::Condition::UnknownFormat;
        return std::optional<bool>(damaged || !c.records.empty() || c.undoing);
    };
    if (const std::optional<bool> current = undoable(files.journal, files.rom, false))
        return *current;
    return files.legacyJournal != files.journal &&
           undoable(files.legacyJournal, files.rom, true).value_or(false);
}

std::optional<std::string> setJournalAside(const ProjectFiles& files, FileOps& ops, int* error) {
    JournalLock lock = JournalLock::acquire(ops, files.journal, error);
    if (!lock.held())
        return std::nullopt;
    for (int n = 1; n < 1000; ++n) {
        const std::string aside = files.journal + ".apartado-" + std::to_string(n);
        if (pathExists(aside))
            continue;
        if (::rename(files.journal.c_str(), aside.c_str()) != 0) {
            *error = failureCodeForError(errno);
            return std::nullopt;
        }
        if (ops.syncFolderOf(aside) != 0) {
            *error = syncFailure(errno);
            return std::nullopt;
        }
        // The untouched copy was this project's: the new journal records it
        // as it is, so that the next insertion does not take it for another's.
        if (const std::optional<std::string> kept = readWholeFile(originalCopyPath(files.rom))) {
            const std::string fresh(std::string(kJournalHeader) +
                                    encodeOriginalCopy({files.rom, kept->size(), journalCrc32(*kept)}));
            if (const int e = ops.writeNewFile(files.journal, fresh); e != 0) {
                *error = failureCodeForError(e);
                return std::nullopt;
            }
        }
        return aside;
    }
    *error = FailureCode::PathFileAccess;
    return std::nullopt;
}

int moveProjectCompanions(const std::string& oldProjectFile, const std::string& newProjectFile) {
    if (oldProjectFile.empty() || newProjectFile.empty() || oldProjectFile == newProjectFile)
        return 0;
    const std::pair<std::string, std::string> moves[] = {
        {journalPathFor(oldProjectFile), journalPathFor(newProjectFile)},
        {wordListPathFor(oldProjectFile), wordListPathFor(newProjectFile)},
        {pointerFilePathFor(oldProjectFile), pointerFilePathFor(newProjectFile)},
    };
    for (const auto& [from, to] : moves) {
        if (!pathExists(from) || pathExists(to))
            continue;
        if (::rename(from.c_str(), to.c_str()) != 0)
            return errno;
        if (syncFolderHolding(to) != 0 || syncFolderHolding(from) != 0)
            return errno;
    }
    return 0;
}

OriginalCheck checkOriginalCopy(const ProjectFiles& files) {
    OriginalCheck check;
    const std::optional<std::string> bytes =
        files.journal.empty() ? std::nullopt : readWholeFile(files.journal);
    if (!bytes)
        return check;
    const JournalContents c = parseJournal(*bytes);
    const auto recorded = std::find_if(c.originals.rbegin(), c.originals.rend(),
                                       [&](const OriginalCopy& o) { return sameFile(o.romPath, files.rom); });
    if (recorded == c.originals.rend())
        return check;
    check.recorded = *recorded;
    const std::optional<std::string> copy = readWholeFile(originalCopyPath(files.rom));
    if (!copy) {
        check.status = OriginalCheck::Status::Missing;
        return check;
    }
    check.size = copy->size();
    check.crc = journalCrc32(*copy);
    check.status = check.size == recorded->size && check.crc == recorded->crc
                       ? OriginalCheck::Status::Matches
                       : OriginalCheck::Status::Differs;
    return check;
}

StepOutcome writeStep(const ProjectFiles& files, const std::vector<RomWrite>& writes,
                      const KeepGoing& keepGoing, FileOps& ops, std::int64_t now, JournalLock* givenLock) {
    StepOutcome outcome;
    const auto fail = [&outcome](int code, std::string file = {}) {
        outcome.error = code;
        outcome.file = std::move(file);
        outcome.systemError = isSystemFailure(code) ? errno : 0;
        return outcome;
    };
    if (files.rom.empty() || files.rom.find('\0') != std::string::npos)
        return fail(FailureCode::BadFileName);
    for (const RomWrite& w : writes)
        if (w.offset < 0 || w.offset > std::numeric_limits<std::int32_t>::max() - 1)
            return fail(FailureCode::Overflow);

    Session session;
    if (!openSession(files, ops, givenLock, session, outcome))
        return outcome;
    const int journal = session.lock->fd();
    const JournalContents& contents = session.loaded->contents;

    // Everything that can fail is checked before the first byte is written;
    // the ranges first, before anything the size of a range is made.
    const Fd rom(ops.open(files.rom, O_RDWR));
    if (!rom.ok())
        return fail(errno == ENOENT ? FailureCode::RomNotFound : failureCodeForError(errno), files.rom);
    const std::optional<std::int64_t> romSize = sizeOf(rom.get());
    if (!romSize)
        return fail(failureCodeForError(errno), files.rom);
    for (const RomWrite& w : writes) {
        if (w.offset + static_cast<std::int64_t>(w.bytes.size()) > *romSize) {
            outcome.offset = w.offset;
            outcome.end = w.offset + static_cast<std::int64_t>(w.bytes.size());
            outcome.actualSize = *romSize;
            return fail(FailureCode::RomTooSmall, files.rom);
        }
    }
    if (writes.empty())
        return outcome;
    const std::optional<std::string> image = readAll(rom.get());
    if (!image)
        return fail(failureCodeForError(errno), files.rom);

    // The untouched copy: made, or checked against the ROM, at the first
    // write this journal makes into the ROM, and recorded either way.
    std::string appended;
    const bool recorded = std::any_of(contents.originals.begin(), contents.originals.end(),
                                      [&](const OriginalCopy& o) { return sameFile(o.romPath, files.rom); });
    if (!recorded) {
        const bool journalled =
            std::any_of(contents.records.begin(), contents.records.end(),
                        [&](const JournalRecord& r) { return sameFile(r.romPath, files.rom); });
        const std::string original = originalCopyPath(files.rom);
        OriginalCopy copy{files.rom, image->size(), journalCrc32(*image)};
        if (pathExists(original)) {
            const std::optional<std::string> kept = readWholeFile(original);
            if (!kept)
                return fail(failureCodeForError(errno), original);
            if (!journalled && *kept != *image)
                return fail(FailureCode::StaleOriginal, original);
            copy.size = kept->size();
            copy.crc = journalCrc32(*kept);
        } else if (!journalled) {
            if (const int e = ops.writeNewFile(original, *image); e != 0)
                return fail(failureCodeForError(e), original);
        }
        if (!journalled || pathExists(original))
            appended += encodeOriginalCopy(copy);
    }

    // The checksum writes follow the scripts' in the same step.
    const std::size_t scriptWrites = writes.size();
    std::vector<RomWrite> withChecksum;
    if (files.fixChecksum) {
        withChecksum = writes;
        std::string scratch = *image;
        outcome.checksumUnrecognised =
            appendChecksumWrites(scratch, withChecksum).status == ChecksumOutcome::Status::Unrecognised;
    }
    const std::vector<RomWrite>& plan = files.fixChecksum ? withChecksum : writes;

    std::uint64_t step = 1;
    for (const JournalRecord& r : contents.records)
        step = std::max(step, r.step + 1);
    // Each record keeps what its range holds just before its own write, so
    // scripts of one step that overlap undo correctly in reverse order.
    std::vector<JournalRecord> records;
    std::string virtualRom = *image;
    std::vector<std::size_t> positions;
    std::size_t end = session.loaded->length;
    const bool fresh = end == 0;
    if (fresh)
        end = kJournalHeader.size();
    const auto recordFrom = [&](std::size_t first, std::size_t at, std::string& encoded) {
        for (std::size_t i = first; i < plan.size(); ++i) {
            const RomWrite& w = plan[i];
            JournalRecord& r = records.emplace_back();
            r.step = step;
            r.time = now;
            r.offset = w.offset;
            r.romSizeBefore = *romSize;
            r.romPath = files.rom;
            r.scriptName = w.scriptName;
            const auto from = static_cast<std::ptrdiff_t>(w.offset);
            r.oldBytes.assign(virtualRom.begin() + from,
                              virtualRom.begin() + from + static_cast<std::ptrdiff_t>(w.bytes.size()));
            std::copy(w.bytes.begin(), w.bytes.end(), virtualRom.begin() + from);
            r.newBytes = w.bytes;
            positions.push_back(at + encoded.size());
            encoded += encodeRecord(r);
        }
    };
    recordFrom(0, end, appended);
    std::size_t stepEnd = end + appended.size();

    // The records reach the disk before the ROM is touched.
    int error = fresh ? writeAllAt(ops, journal, kJournalHeader.data(), kJournalHeader.size(), 0)
                : contents.version == 1 && !recorded
                    ? writeAllAt(ops, journal, kJournalHeader.data(), kJournalHeader.size(), 0)
                    : FailureCode::None;
    if (error == FailureCode::None)
        error = writeAllAt(ops, journal, appended.data(), appended.size(), static_cast<std::int64_t>(end));
    if (error == FailureCode::None)
        error = sync(ops, journal);
    if (error != FailureCode::None) { // a record that did get through is dropped with the rest
        ops.ftruncate(journal, static_cast<off_t>(fresh ? 0 : end));
        return fail(error, files.journal);
    }

    std::size_t attempted = 0;
    std::size_t scriptsInPlan = scriptWrites;
    const auto writeFrom = [&] {
        for (; attempted < plan.size(); ++attempted) {
            if (attempted < scriptsInPlan && keepGoing && !keepGoing(attempted, scriptWrites)) {
                outcome.cancelled = true;
                break;
            }
            const RomWrite& w = plan[attempted];
            if ((error = writeAllAt(ops, rom.get(), w.bytes.data(), w.bytes.size(), w.offset)) != 0) {
                ++attempted; // this write may have reached the ROM in part
                break;
            }
            if (attempted < scriptsInPlan)
                outcome.bytes += w.bytes.size();
        }
    };
    writeFrom();
    if (outcome.cancelled && error == FailureCode::None && attempted > 0 && plan.size() > scriptWrites) {
        // Stopped: the journalled checksum was that of every script. The
        // records of the scripts left out and that checksum give way to the
        // checksum of the scripts written, journalled before it is written.
        const std::size_t tailAt = positions[attempted];
        scriptsInPlan = attempted;
        withChecksum.resize(attempted);
        records.resize(attempted);
        positions.resize(attempted);
        virtualRom = *image;
        for (const RomWrite& w : withChecksum)
            std::copy(w.bytes.begin(), w.bytes.end(), virtualRom.begin() + static_cast<std::ptrdiff_t>(w.offset));
        if (const std::optional<RomIdentity> identity = identifyRom(virtualRom))
            for (RomWrite& w : checksumWrites(virtualRom, *identity))
                withChecksum.push_back(std::move(w));
        std::string tail;
        recordFrom(attempted, tailAt, tail);
        stepEnd = tailAt + tail.size();
        error = writeAllAt(ops, journal, tail.data(), tail.size(), static_cast<std::int64_t>(tailAt));
        if (error == FailureCode::None && ops.ftruncate(journal, static_cast<off_t>(stepEnd)) != 0)
            error = failureCodeForError(errno);
        if (error == FailureCode::None)
            error = sync(ops, journal);
        if (error == FailureCode::None)
            writeFrom();
    }
    // The ROM reaches the disk before any record is marked done.
    if (error == FailureCode::None)
        error = sync(ops, rom.get());
    std::string errorFile = error == FailureCode::None ? std::string() : files.rom;
    const std::size_t cut = attempted < records.size() ? positions[attempted] : stepEnd;
    if (error == FailureCode::None) {
        const char done = static_cast<char>(JournalRecord::State::Done);
        for (std::size_t i = 0; i < attempted && error == FailureCode::None; ++i)
            error = writeAllAt(ops, journal, &done, 1, static_cast<std::int64_t>(positions[i]) + 1);
        // Records of scripts a stop left unwritten go.
        if (error == FailureCode::None && cut < stepEnd &&
            ops.ftruncate(journal, static_cast<off_t>(cut)) != 0)
            error = failureCodeForError(errno);
        if (error != FailureCode::None)
            errorFile = files.journal;
    }
    if (error != FailureCode::None) {
        // Put the ROM back as it was. The journal says so first when it can;
        // when it cannot, its pending records have the next settling finish
        // the rollback.
        JournalContents written;
        written.records.assign(records.begin(), records.begin() + static_cast<std::ptrdiff_t>(attempted));
        const std::string marker = encodeUndoMarker(step);
        if (ops.ftruncate(journal, static_cast<off_t>(cut)) == 0 &&
            writeAllAt(ops, journal, marker.data(), marker.size(), static_cast<std::int64_t>(cut)) == 0)
            ops.fsync(journal);
        const StepRange range{written, 0, attempted};
        if (restoreStep(ops, rom.get(), range) != FailureCode::None) {
            for (std::size_t i = 0; i < attempted; ++i)
                outcome.partialScripts.push_back(records[i].scriptName);
            outcome.written = 0;
            outcome.bytes = 0;
            return fail(FailureCode::PartialStep, files.rom);
        }
        cutAndSync(ops, journal, attempted > 0 ? positions[0] : cut);
        outcome.written = 0;
        outcome.bytes = 0;
        return fail(error, errorFile);
    }
    outcome.written = std::min(attempted, scriptsInPlan);
    if (sync(ops, journal) != FailureCode::None)
        outcome.journalUnflushed = true; // the ROM holds the step; the next settling marks it done
    return outcome;
}

UndoOutcome undoLastStep(const ProjectFiles& files, FileOps& ops) {
    UndoOutcome outcome;
    const auto failed = [&outcome](int code, std::string file = {}) {
        outcome.kind = UndoOutcome::Kind::Failed;
        outcome.error = code;
        outcome.file = std::move(file);
        outcome.systemError = isSystemFailure(code) ? errno : 0;
        return outcome;
    };
    if (noJournal(files))
        return outcome;
    const auto describe = [&outcome](const JournalContents& c, std::size_t first) {
        // A relocated script's records (its bytes, its pointers, the filler
        // of its old place) follow one another and count as one script; the
        // checksum goes back with the scripts, unnamed.
        outcome.scripts = 0;
        const std::string* previous = nullptr;
        for (std::size_t i = first; i < c.records.size(); ++i) {
            if (c.records[i].scriptName == kChecksumWriteName)
                continue;
            outcome.bytes += c.records[i].oldBytes.size();
            outcome.scripts += previous == nullptr || c.records[i].scriptName != *previous;
            previous = &c.records[i].scriptName;
        }
        if (first < c.records.size()) {
            outcome.offset = c.records[first].offset;
            outcome.scriptName = c.records[first].scriptName;
        }
    };
    // What an unfinished undo or rollback concerns, told before it is finished.
    {
        const std::optional<std::string> bytes = readWholeFile(files.journal);
        const JournalContents before = parseJournal(bytes ? *bytes : std::string());
        if (before.undoing)
            describe(before, stepStart(before, *before.undoing));
    }
    Session session;
    if (!openSession(files, ops, nullptr, session, outcome))
        return failed(outcome.error, outcome.file);
    if (session.settled == Settled::RolledBack) {
        outcome.kind = UndoOutcome::Kind::Finished;
        return outcome;
    }
    outcome.bytes = outcome.scripts = 0;
    outcome.offset = 0;
    outcome.scriptName.clear();
    const JournalContents& c = session.loaded->contents;
    if (c.records.empty())
        return outcome;
    const int journal = session.lock->fd();

    const std::size_t first = stepStart(c, c.records.back().step);
    const StepRange step{c, first, c.records.size()};
    if (!sameFile(c.records[first].romPath, files.rom))
        return failed(FailureCode::ForeignRom, c.records[first].romPath);
    const RomImage image = readRom(files.rom);
    if (!image.bytes)
        return failed(image.error == ENOENT ? FailureCode::RomNotFound : failureCodeForError(image.error),
                      files.rom);
    if (static_cast<std::int64_t>(image.bytes->size()) != step.last().romSizeAfter()) {
        outcome.expectedSize = step.last().romSizeAfter();
        outcome.actualSize = static_cast<std::int64_t>(image.bytes->size());
        return failed(FailureCode::RomSizeChanged, files.rom);
    }
    if (const std::size_t changed = firstNotHeld(*image.bytes, step); changed != step.end) {
        outcome.kind = UndoOutcome::Kind::RomChanged;
        outcome.offset = c.records[changed].offset;
        outcome.scriptName = c.records[changed].scriptName;
        return outcome;
    }

    const Fd rom(ops.open(files.rom, O_RDWR));
    if (!rom.ok())
        return failed(failureCodeForError(errno), files.rom);
    const std::string marker = encodeUndoMarker(c.records.back().step);
    if (const int code = writeAllAt(ops, journal, marker.data(), marker.size(),
                                    static_cast<std::int64_t>(session.loaded->length)))
        return failed(code, files.journal);
    if (const int code = sync(ops, journal))
        return failed(code, files.journal);
    if (const int code = restoreStep(ops, rom.get(), step))
        return failed(code, files.rom);
    if (const int code = cutAndSync(ops, journal, c.positions[first]))
        return failed(code, files.journal);
    describe(c, first);
    outcome.kind = UndoOutcome::Kind::Undone;
    return outcome;
}

} // namespace tradumar
