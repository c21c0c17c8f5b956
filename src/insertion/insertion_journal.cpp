// The journal's commands: writing a step (records first, then the ROM, then
// the records marked done), undoing the last step, setting a journal aside,
// the untouched copy of the ROM, and the names of the journal and of the
// files that follow the project file. The locked session they share is in
// journal_session.cpp.
#include "insertion/insertion_journal.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <unistd.h>
#include <utility>

#include "checksum/rom_checksum.h"
#include "common/file_io.h"
#include "glossary/glossary.h"
#include "insertion/journal_session.h"
#include "insertion/rom_writer.h"
#include "pointers/pointer_file.h"
#include "project/project_settings.h"
#include "spellcheck/project_words.h"

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

using namespace journal;


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
        {glossaryPathFor(oldProjectFile), glossaryPathFor(newProjectFile)},
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
