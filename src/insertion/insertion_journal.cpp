#include "insertion/insertion_journal.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

#include "common/file_io.h"
#include "insertion/rom_writer.h"
#include "project/project_settings.h"

namespace tradumar {

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

namespace {

constexpr char kInsertion = 'I';
constexpr char kUndoMarker = 'U';
constexpr std::size_t kEntryHead = 10; // kind, state, body length, CRC
constexpr std::size_t kUndoMarkerSize = kEntryHead + 8;

// CRC-32 (the polynomial of zip and PNG), eight bytes at a time: a large
// step's journal is checked whole on every undo.
std::uint32_t crc32(std::string_view data) {
    using Tables = std::array<std::array<std::uint32_t, 256>, 8>;
    static const Tables t = [] {
        Tables tables{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            tables[0][i] = c;
        }
        for (std::size_t k = 1; k < 8; ++k)
            for (std::size_t i = 0; i < 256; ++i)
                tables[k][i] = (tables[k - 1][i] >> 8) ^ tables[0][tables[k - 1][i] & 0xFF];
        return tables;
    }();
    const auto* p = reinterpret_cast<const std::uint8_t*>(data.data());
    std::size_t size = data.size();
    std::uint32_t c = 0xFFFFFFFFu;
    const auto word = [](const std::uint8_t* q) {
        return std::uint32_t{q[0]} | std::uint32_t{q[1]} << 8 | std::uint32_t{q[2]} << 16 |
               std::uint32_t{q[3]} << 24;
    };
    for (; size >= 8; p += 8, size -= 8) {
        const std::uint32_t one = word(p) ^ c, two = word(p + 4);
        c = t[7][one & 0xFF] ^ t[6][(one >> 8) & 0xFF] ^ t[5][(one >> 16) & 0xFF] ^ t[4][one >> 24] ^
            t[3][two & 0xFF] ^ t[2][(two >> 8) & 0xFF] ^ t[1][(two >> 16) & 0xFF] ^ t[0][two >> 24];
    }
    for (; size > 0; ++p, --size)
        c = t[0][(c ^ *p) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void putNumber(std::string& out, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

template <typename Range> void putBlock(std::string& out, const Range& data) {
    putNumber(out, data.size(), 4);
    out.append(data.begin(), data.end());
}

std::string entry(char kind, char state, const std::string& body) {
    std::string out{kind, state};
    putNumber(out, body.size(), 4);
    putNumber(out, crc32(body), 4);
    return out + body;
}

// Reads the numbers and blocks of a body; any read past its end fails it.
class BodyReader {
public:
    explicit BodyReader(std::string_view body) : m_body(body) {}

    std::uint64_t number(int size) {
        if (!take(static_cast<std::size_t>(size)))
            return 0;
        std::uint64_t value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = value << 8 | static_cast<std::uint8_t>(m_body[m_at - static_cast<std::size_t>(size) + i]);
        return value;
    }
    std::string_view block() {
        const std::size_t size = number(4);
        return take(size) ? m_body.substr(m_at - size, size) : std::string_view{};
    }
    bool complete() const { return m_ok && m_at == m_body.size(); }

private:
    bool take(std::size_t size) {
        if (!m_ok || size > m_body.size() - m_at)
            return m_ok = false;
        m_at += size;
        return true;
    }
    std::string_view m_body;
    std::size_t m_at = 0;
    bool m_ok = true;
};

Bytes toBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

} // namespace

std::string encodeRecord(const JournalRecord& record) {
    std::string body;
    putNumber(body, record.step, 8);
    putNumber(body, static_cast<std::uint64_t>(record.time), 8);
    putNumber(body, static_cast<std::uint64_t>(record.offset), 8);
    putNumber(body, static_cast<std::uint64_t>(record.romSizeBefore), 8);
    putBlock(body, record.romPath);
    putBlock(body, record.scriptName);
    putBlock(body, record.oldBytes);
    putBlock(body, record.newBytes);
    return entry(kInsertion, static_cast<char>(record.state), body);
}

std::string encodeUndoMarker(std::uint64_t step) {
    std::string body;
    putNumber(body, step, 8);
    return entry(kUndoMarker, 'P', body);
}

JournalContents parseJournal(std::string_view bytes) {
    JournalContents contents;
    if (bytes.substr(0, kJournalHeader.size()) != kJournalHeader)
        return contents;
    std::size_t at = kJournalHeader.size();
    contents.validLength = at;
    while (bytes.size() - at >= kEntryHead) {
        const char kind = bytes[at];
        const char state = bytes[at + 1];
        BodyReader head(bytes.substr(at + 2, 8));
        const std::size_t length = head.number(4);
        const std::uint32_t crc = static_cast<std::uint32_t>(head.number(4));
        if (length > bytes.size() - at - kEntryHead)
            break;
        const std::string_view body = bytes.substr(at + kEntryHead, length);
        if (crc32(body) != crc)
            break;
        BodyReader reader(body);
        if (kind == kUndoMarker && state == 'P') {
            const std::uint64_t step = reader.number(8);
            if (!reader.complete())
                break;
            contents.undoing = step;
            contents.validLength = at + kEntryHead + length;
            break; // nothing follows the marker
        }
        if (kind != kInsertion || (state != 'P' && state != 'D'))
            break;
        JournalRecord record;
        record.state = static_cast<JournalRecord::State>(state);
        record.step = reader.number(8);
        record.time = static_cast<std::int64_t>(reader.number(8));
        record.offset = static_cast<std::int64_t>(reader.number(8));
        record.romSizeBefore = static_cast<std::int64_t>(reader.number(8));
        record.romPath = reader.block();
        record.scriptName = reader.block();
        record.oldBytes = toBytes(reader.block());
        record.newBytes = toBytes(reader.block());
        // A write replaces at most as many bytes as it writes.
        const bool sane = record.offset >= 0 && record.romSizeBefore >= 0 &&
                          record.oldBytes.size() <= record.newBytes.size() &&
                          record.offset <= std::numeric_limits<std::int32_t>::max() &&
                          record.romSizeBefore <= std::numeric_limits<std::int64_t>::max() / 2;
        if (!reader.complete() || !sane)
            break;
        contents.records.push_back(std::move(record));
        contents.positions.push_back(at);
        at += kEntryHead + length;
        contents.validLength = at;
    }
    return contents;
}

std::string journalPathFor(const ProjectSettings& settings) {
    const std::string& file = settings.projectFilePath;
    if (file.empty())
        return {};
    const std::size_t slash = file.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
    std::string name = settings.projectName;
    if (name.empty()) { // the project file's own name without its extension
        name = file.substr(folder.size());
        name = name.substr(0, name.rfind('.'));
    }
    return folder + name + ".inserciones";
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

std::optional<std::string> readAll(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return std::nullopt;
    std::string content(static_cast<std::size_t>(info.st_size), '\0');
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

// The journal's contents; a missing journal is an empty one.
std::optional<JournalContents> loadJournal(const std::string& path, std::size_t* fileLength = nullptr) {
    const std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes && pathExists(path))
        return std::nullopt;
    if (fileLength)
        *fileLength = bytes ? bytes->size() : 0;
    return parseJournal(bytes ? *bytes : std::string());
}

bool holds(const std::string& rom, std::int64_t offset, const Bytes& bytes) {
    const auto at = static_cast<std::size_t>(offset);
    return at <= rom.size() && bytes.size() <= rom.size() - at &&
           std::equal(bytes.begin(), bytes.end(), rom.begin() + static_cast<std::ptrdiff_t>(at),
                      [](std::uint8_t b, char c) { return b == static_cast<std::uint8_t>(c); });
}

// The first record of the step that ends the journal.
std::size_t lastStepStart(const JournalContents& contents, std::uint64_t step) {
    std::size_t first = contents.records.size();
    while (first > 0 && contents.records[first - 1].step == step)
        --first;
    return first;
}

// Puts back the old bytes of records [first, end) from the last to the first
// and cuts the journal back to where they began. Writing every old range in
// reverse order leaves the ROM as before the first of them whatever part of
// this was done already, so a killed undo is finished by running it again.
int restoreRecords(FileOps& ops, int journal, const JournalContents& contents, std::size_t first,
                   std::size_t cut) {
    if (first < contents.records.size()) {
        const Fd rom(ops.open(contents.records[first].romPath, O_RDWR));
        if (!rom.ok())
            return failureCodeForError(errno);
        for (std::size_t i = contents.records.size(); i-- > first;) {
            const JournalRecord& r = contents.records[i];
            if (const int code = writeAllAt(ops, rom.get(), r.oldBytes.data(), r.oldBytes.size(), r.offset))
                return code;
            if (r.romSizeBefore < r.offset + static_cast<std::int64_t>(r.newBytes.size()) &&
                ops.ftruncate(rom.get(), static_cast<off_t>(r.romSizeBefore)) != 0)
                return failureCodeForError(errno);
        }
        if (ops.fsync(rom.get()) != 0)
            return failureCodeForError(errno);
    }
    if (ops.ftruncate(journal, static_cast<off_t>(cut)) != 0 || ops.fsync(journal) != 0)
        return failureCodeForError(errno);
    return FailureCode::None;
}

// Settles what a killed process left; see settleJournal.
int settle(const std::string& path, FileOps& ops, JournalContents& contents, std::size_t fileLength,
           bool* changed) {
    const auto pending = std::find_if(contents.records.begin(), contents.records.end(),
                                      [](const auto& r) { return r.state == JournalRecord::State::Pending; });
    if (!contents.undoing && pending == contents.records.end() && fileLength == contents.validLength)
        return FailureCode::None;
    *changed = true;
    const Fd journal(ops.open(path, O_RDWR));
    if (!journal.ok())
        return failureCodeForError(errno);
    if (contents.undoing) {
        const std::size_t first = lastStepStart(contents, *contents.undoing);
        const std::size_t cut = first < contents.records.size() ? contents.positions[first]
                                                                : contents.validLength - kUndoMarkerSize;
        return restoreRecords(ops, journal.get(), contents, first, cut);
    }
    if (pending == contents.records.end()) { // only a torn tail to cut
        if (ops.ftruncate(journal.get(), static_cast<off_t>(contents.validLength)) != 0 ||
            ops.fsync(journal.get()) != 0)
            return failureCodeForError(errno);
        return FailureCode::None;
    }
    // Steps write in order and mark each record done right after its write,
    // so only the first pending record may have reached the ROM; the ones
    // after it never did.
    std::size_t first = static_cast<std::size_t>(pending - contents.records.begin());
    const JournalRecord& r = contents.records[first];
    const Fd rom(::open(r.romPath.c_str(), O_RDONLY | O_CLOEXEC));
    const std::optional<std::string> bytes = rom.ok() ? readAll(rom.get()) : std::nullopt;
    if (bytes && holds(*bytes, r.offset, r.newBytes)) {
        const char done = static_cast<char>(JournalRecord::State::Done);
        if (const int code = writeAllAt(ops, journal.get(), &done, 1,
                                        static_cast<std::int64_t>(contents.positions[first]) + 1))
            return code;
        ++first;
    } else if (bytes && !holds(*bytes, r.offset, r.oldBytes)) {
        // Partly written: put the old bytes back.
        JournalContents one;
        one.records = {r};
        one.positions = {contents.positions[first]};
        one.validLength = contents.validLength;
        if (const int code = restoreRecords(ops, journal.get(), one, 0, one.positions[0]))
            return code;
    }
    const std::size_t cut =
        first < contents.records.size() ? contents.positions[first] : contents.validLength;
    if (ops.ftruncate(journal.get(), static_cast<off_t>(cut)) != 0 || ops.fsync(journal.get()) != 0)
        return failureCodeForError(errno);
    return FailureCode::None;
}

std::optional<JournalContents> loadSettled(const std::string& path, FileOps& ops, int* error) {
    std::size_t length = 0;
    std::optional<JournalContents> contents = loadJournal(path, &length);
    bool changed = false;
    *error = contents ? settle(path, ops, *contents, length, &changed) : FailureCode::PathFileAccess;
    if (*error != FailureCode::None)
        return std::nullopt;
    return changed ? loadJournal(path) : contents;
}

// Opens the journal for appending: a new or unreadable one starts with the
// header, and a torn tail is cut off first. Returns the descriptor and where
// the next entry goes.
int openForAppend(FileOps& ops, const std::string& path, const JournalContents& contents, std::size_t* end) {
    const int fd = ops.open(path, O_RDWR | O_CREAT);
    if (fd < 0)
        return -1;
    *end = contents.validLength;
    bool ok = ops.ftruncate(fd, static_cast<off_t>(*end)) == 0;
    if (ok && *end == 0) {
        ok = writeAllAt(ops, fd, kJournalHeader.data(), kJournalHeader.size(), 0) == FailureCode::None;
        *end = kJournalHeader.size();
    }
    if (!ok) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return -1;
    }
    return fd;
}

} // namespace

std::optional<JournalContents> settleJournal(const std::string& journalPath, FileOps& ops) {
    int error = 0;
    return loadSettled(journalPath, ops, &error);
}

bool hasUndoableStep(const std::string& journalPath) {
    const std::optional<JournalContents> contents = loadJournal(journalPath);
    return contents && (!contents->records.empty() || contents->undoing);
}

StepOutcome writeStep(const std::string& romPath, const std::string& journalPath,
                      const std::vector<RomWrite>& writes, RomCheck check, const KeepGoing& keepGoing,
                      FileOps& ops, std::int64_t now) {
    StepOutcome outcome;
    const auto fail = [&outcome](int code) {
        outcome.error = code;
        return outcome;
    };
    if (romPath.empty() || romPath.find('\0') != std::string::npos)
        return fail(FailureCode::BadFileName);
    for (const RomWrite& w : writes)
        if (w.offset < 0 || w.offset > std::numeric_limits<std::int32_t>::max() - 1)
            return fail(FailureCode::Overflow);

    int error = FailureCode::None;
    std::optional<JournalContents> contents = loadSettled(journalPath, ops, &error);
    if (!contents)
        return fail(error);

    // Everything that can fail is checked before the first byte is written.
    const bool mustHold = check == RomCheck::MustHold;
    const bool existed = pathExists(romPath);
    const Fd rom(ops.open(romPath, mustHold ? O_RDWR : O_RDWR | O_CREAT));
    if (!rom.ok())
        return fail(mustHold && errno == ENOENT ? FailureCode::RomNotFound : failureCodeForError(errno));
    std::optional<std::string> image = readAll(rom.get());
    if (!image)
        return fail(failureCodeForError(errno));
    for (const RomWrite& w : writes)
        if (mustHold && static_cast<std::size_t>(w.offset) + w.bytes.size() > image->size())
            return fail(FailureCode::RomTooSmall);
    if (writes.empty())
        return outcome;

    const bool journalled = std::any_of(contents->records.begin(), contents->records.end(),
                                        [&](const JournalRecord& r) { return r.romPath == romPath; });
    const std::string original = originalCopyPath(romPath);
    if (existed && !journalled && !pathExists(original))
        if (const int e = ops.writeNewFile(original, *image); e != 0)
            return fail(failureCodeForError(e));

    // Each record keeps what its range holds just before its own write, so
    // scripts of one step that overlap undo correctly in reverse order.
    std::uint64_t step = 1;
    for (const JournalRecord& r : contents->records)
        step = std::max(step, r.step + 1);
    std::vector<JournalRecord> records(writes.size());
    std::string& virtualRom = *image;
    for (std::size_t i = 0; i < writes.size(); ++i) {
        const RomWrite& w = writes[i];
        JournalRecord& r = records[i];
        r.step = step;
        r.time = now;
        r.offset = w.offset;
        r.romSizeBefore = static_cast<std::int64_t>(virtualRom.size());
        r.romPath = romPath;
        r.scriptName = w.scriptName;
        const auto at = static_cast<std::size_t>(w.offset);
        const auto from = virtualRom.begin() + static_cast<std::ptrdiff_t>(std::min(at, virtualRom.size()));
        r.oldBytes.assign(
            from, from + static_cast<std::ptrdiff_t>(
                             std::min(w.bytes.size(), virtualRom.size() - std::min(at, virtualRom.size()))));
        virtualRom.resize(std::max(virtualRom.size(), at + w.bytes.size()));
        std::copy(w.bytes.begin(), w.bytes.end(), virtualRom.begin() + static_cast<std::ptrdiff_t>(at));
        r.newBytes = w.bytes;
    }

    std::size_t end = 0;
    const Fd journal(openForAppend(ops, journalPath, *contents, &end));
    if (!journal.ok())
        return fail(failureCodeForError(errno));
    JournalContents mine;
    std::string appended;
    for (const JournalRecord& r : records) {
        mine.positions.push_back(end + appended.size());
        appended += encodeRecord(r);
    }
    int appendError =
        writeAllAt(ops, journal.get(), appended.data(), appended.size(), static_cast<std::int64_t>(end));
    if (appendError == FailureCode::None && ops.fsync(journal.get()) != 0)
        appendError = failureCodeForError(errno);
    if (appendError != FailureCode::None) { // a record that did get through is dropped with the rest
        ops.ftruncate(journal.get(), static_cast<off_t>(end));
        return fail(appendError);
    }

    std::size_t attempted = 0;
    for (; attempted < writes.size(); ++attempted) {
        if (keepGoing && !keepGoing(attempted, writes.size())) {
            outcome.cancelled = true;
            break;
        }
        const RomWrite& w = writes[attempted];
        error = writeAllAt(ops, rom.get(), w.bytes.data(), w.bytes.size(), w.offset);
        if (error == FailureCode::None) {
            const char done = static_cast<char>(JournalRecord::State::Done);
            error = writeAllAt(ops, journal.get(), &done, 1,
                               static_cast<std::int64_t>(mine.positions[attempted]) + 1);
        }
        if (error != FailureCode::None) {
            ++attempted; // this write may have reached the ROM in part
            break;
        }
        outcome.bytes += w.bytes.size();
    }
    if (error == FailureCode::None && ops.fsync(rom.get()) != 0)
        error = failureCodeForError(errno);

    mine.validLength = end + appended.size();
    const std::size_t cut = attempted < records.size() ? mine.positions[attempted] : mine.validLength;
    if (error != FailureCode::None) {
        // Put the ROM back as it was: say so in the journal, then restore.
        // Should the restore fail too, the marker has it finished next time.
        records.resize(attempted);
        mine.records = std::move(records);
        mine.positions.resize(attempted);
        const std::string marker = encodeUndoMarker(step);
        if (ops.ftruncate(journal.get(), static_cast<off_t>(cut)) == 0 &&
            writeAllAt(ops, journal.get(), marker.data(), marker.size(), static_cast<std::int64_t>(cut)) ==
                FailureCode::None &&
            ops.fsync(journal.get()) == 0)
            restoreRecords(ops, journal.get(), mine, 0, end);
        return fail(error);
    }
    // Records of scripts a stop left unwritten go.
    if (ops.ftruncate(journal.get(), static_cast<off_t>(cut)) != 0 || ops.fsync(journal.get()) != 0)
        return fail(failureCodeForError(errno));
    outcome.written = attempted;
    return outcome;
}

UndoOutcome undoLastStep(const std::string& journalPath, FileOps& ops) {
    UndoOutcome outcome;
    std::size_t length = 0;
    std::optional<JournalContents> contents = loadJournal(journalPath, &length);
    if (!contents) {
        outcome.kind = UndoOutcome::Kind::Failed;
        outcome.error = FailureCode::PathFileAccess;
        return outcome;
    }
    const auto describe = [&outcome](const JournalContents& c, std::size_t first) {
        outcome.scripts = c.records.size() - first;
        for (std::size_t i = first; i < c.records.size(); ++i)
            outcome.bytes += c.records[i].oldBytes.size();
        if (first < c.records.size()) {
            outcome.offset = c.records[first].offset;
            outcome.scriptName = c.records[first].scriptName;
        }
    };
    const auto failed = [&outcome](int code) {
        outcome = UndoOutcome{};
        outcome.kind = UndoOutcome::Kind::Failed;
        outcome.error = code;
        return outcome;
    };
    // An undo a killed process began is what this one finishes.
    const bool finishing = contents->undoing.has_value();
    if (finishing)
        describe(*contents, lastStepStart(*contents, *contents->undoing));
    bool changed = false;
    if (const int code = settle(journalPath, ops, *contents, length, &changed))
        return failed(code);
    if (finishing) {
        outcome.kind = UndoOutcome::Kind::Undone;
        return outcome;
    }
    if (changed && !(contents = loadJournal(journalPath)))
        return failed(FailureCode::PathFileAccess);
    if (contents->records.empty())
        return outcome;

    const std::size_t first = lastStepStart(*contents, contents->records.back().step);
    const std::string& romPath = contents->records[first].romPath;
    const Fd rom(::open(romPath.c_str(), O_RDONLY | O_CLOEXEC));
    if (!rom.ok())
        return failed(failureCodeForError(errno));
    std::optional<std::string> image = readAll(rom.get());
    if (!image)
        return failed(failureCodeForError(errno));
    // Walk the step back in memory first: each record's range must hold its
    // new bytes once the later records are undone.
    for (std::size_t i = contents->records.size(); i-- > first;) {
        const JournalRecord& r = contents->records[i];
        if (!holds(*image, r.offset, r.newBytes)) {
            outcome.kind = UndoOutcome::Kind::RomChanged;
            outcome.offset = r.offset;
            outcome.scriptName = r.scriptName;
            return outcome;
        }
        std::copy(r.oldBytes.begin(), r.oldBytes.end(),
                  image->begin() + static_cast<std::ptrdiff_t>(r.offset));
        if (r.romSizeBefore < static_cast<std::int64_t>(image->size()))
            image->resize(static_cast<std::size_t>(r.romSizeBefore));
    }

    std::size_t end = 0;
    const Fd journal(openForAppend(ops, journalPath, *contents, &end));
    if (!journal.ok())
        return failed(failureCodeForError(errno));
    const std::string marker = encodeUndoMarker(contents->records.back().step);
    if (const int code =
            writeAllAt(ops, journal.get(), marker.data(), marker.size(), static_cast<std::int64_t>(end)))
        return failed(code);
    if (ops.fsync(journal.get()) != 0)
        return failed(failureCodeForError(errno));
    if (const int code = restoreRecords(ops, journal.get(), *contents, first, contents->positions[first]))
        return failed(code);
    describe(*contents, first);
    outcome.kind = UndoOutcome::Kind::Undone;
    return outcome;
}

} // namespace tradumar
