#include "insertion/rom_writer.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

#include "insertion/insertion_journal.h"

namespace tradumar {

// The operating system's reasons map onto the four codes translators know:
//   52 the name cannot be a file name at all (empty, too long, invalid);
//   70 no permission: read-only file or file system, a busy or locked file;
//   76 a folder on the path does not exist or is not a folder;
//   75 anything else that fails on an existing path: the path is a folder,
//      an input/output error, a full disk.
int failureCodeForError(int error) {
    switch (error) {
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
        return FailureCode::BadFileName;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EBUSY:
    case EAGAIN:
        return FailureCode::PermissionDenied;
    case ENOENT:
    case ENOTDIR:
    case ELOOP:
        return FailureCode::PathNotFound;
    default:
        return FailureCode::PathFileAccess;
    }
}

int writeBytesAt(const std::string& path, std::int64_t offset, const Bytes& bytes) {
    if (path.empty() || path.find('\0') != std::string::npos)
        return FailureCode::BadFileName;
    if (offset < 0 || offset > std::numeric_limits<std::int32_t>::max() - 1)
        return FailureCode::Overflow;

    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? FailureCode::RomNotFound : failureCodeForError(errno);

    int code = FailureCode::None;
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        code = failureCodeForError(errno);
    else if (S_ISDIR(info.st_mode))
        code = FailureCode::PathFileAccess;
    else if (offset + static_cast<std::int64_t>(bytes.size()) > static_cast<std::int64_t>(info.st_size))
        code = FailureCode::RomTooSmall;
    std::size_t done = 0;
    while (code == FailureCode::None && done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                                   static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            code = failureCodeForError(errno);
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0 && code == FailureCode::None)
        code = failureCodeForError(errno);
    return code;
}

InsertOutcome insertTranslation(std::string_view text, const CodecContext& context,
                                const MissingHandler& onMissing, const InvalidBlockHandler& onInvalidBlock,
                                std::string_view scriptFileName, const ProjectFiles& files,
                                std::optional<std::int64_t> movedTo) {
    InsertOutcome outcome;
    const EncodeResult encoded = encodeScript(text, context, onMissing, onInvalidBlock);
    if (encoded.stopped()) {
        outcome.kind = InsertOutcome::Kind::Stopped;
        outcome.stoppedAt = encoded.stoppedAt;
        outcome.stoppedLength = encoded.stoppedLength;
        return outcome;
    }
    if (!encoded.ok()) {
        outcome.error = encoded.error;
        outcome.errorAt = encoded.errorAt;
        return outcome;
    }
    // Only a name of the form HEX[SIZE].txt says where the script goes.
    std::optional<ScriptPlace> place = scriptPlace(scriptFileName);
    if (!place) {
        outcome.error = FailureCode::InvalidCall;
        return outcome;
    }
    if (movedTo)
        place->offset = *movedTo;
    // The encoding is complete before the ROM is touched: no failure above
    // leaves a partly written file.
    int code = FailureCode::None;
    if (files.journal.empty()) {
        code = writeBytesAt(files.rom, place->offset, encoded.bytes);
    } else {
        std::vector<RomWrite> writes;
        if (!encoded.bytes.empty())
            writes.push_back({std::string(scriptFileName), place->offset, encoded.bytes});
        FileOps ops;
        StepOutcome step = writeStep(files, writes, {}, ops, std::time(nullptr));
        code = step.error;
        outcome.journalUnflushed = step.journalUnflushed;
        outcome.report = std::move(step);
    }
    if (code != FailureCode::None) {
        outcome.error = code;
        return outcome;
    }
    outcome.kind = InsertOutcome::Kind::Written;
    outcome.bytesWritten = encoded.bytes.size();
    return outcome;
}

} // namespace tradumar
