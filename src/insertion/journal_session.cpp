// The locked journal: taking the lock, reading the journal under it (moving
// in one kept under the project's old name, cutting a torn tail, refusing a
// damaged one), settling a step a kill left unfinished and putting a step's
// old bytes back. The commands that write and undo a step work through it.
#include "insertion/journal_session.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "common/file_io.h"
#include "insertion/rom_writer.h"

namespace tradumar {
namespace journal {

bool isSystemFailure(int code) {
    return code == FailureCode::BadFileName || code == FailureCode::PermissionDenied ||
           code == FailureCode::PathFileAccess || code == FailureCode::PathNotFound;
}

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

namespace {

bool holds(const std::string& rom, std::int64_t offset, const Bytes& bytes) {
    const auto at = static_cast<std::size_t>(offset);
    return at <= rom.size() && bytes.size() <= rom.size() - at &&
           std::equal(bytes.begin(), bytes.end(), rom.begin() + static_cast<std::ptrdiff_t>(at),
                      [](std::uint8_t b, char c) { return b == static_cast<std::uint8_t>(c); });
}

} // namespace

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

std::size_t stepStart(const JournalContents& contents, std::uint64_t step) {
    std::size_t first = contents.records.size();
    while (first > 0 && contents.records[first - 1].step == step)
        --first;
    return first;
}

namespace {

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

} // namespace

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

bool adoptable(const JournalContents& old, const std::string& rom) {
    if (old.condition == JournalContents::Condition::Damaged ||
        old.condition == JournalContents::Condition::UnknownFormat || (old.records.empty() && !old.undoing))
        return false;
    return std::all_of(old.records.begin(), old.records.end(),
                       [&](const JournalRecord& r) { return sameFile(r.romPath, rom); });
}

namespace {

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

} // namespace

RomImage readRom(const std::string& path) {
    const Fd rom(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    RomImage image;
    if (rom.ok())
        image.bytes = readAll(rom.get());
    if (!image.bytes)
        image.error = errno;
    return image;
}

namespace {

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

} // namespace

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

bool noJournal(const ProjectFiles& files) {
    return !pathExists(files.journal) && (files.legacyJournal.empty() || !pathExists(files.legacyJournal));
}

} // namespace journal

using namespace journal;

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
} // namespace tradumar
