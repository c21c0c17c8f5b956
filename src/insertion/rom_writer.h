#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "encoding/script_codec.h"
#include "insertion/insertion_journal.h"

namespace tradumar {

// Writes `bytes` into the file at `offset` in one positioned write; every
// other byte stays as it was. The file is never created nor made longer: a
// missing file fails with 53, bytes reaching past its end with 63, before
// anything is written. Otherwise returns 0 or a failure code (52, 70, 75, 76).
int writeBytesAt(const std::string& path, std::int64_t offset, const Bytes& bytes);

// The failure code a system error (errno) of opening or writing the ROM
// becomes: 52, 70, 75 or 76.
int failureCodeForError(int error);

struct InsertOutcome {
    enum class Kind { Written, Stopped, Failed };
    Kind kind = Kind::Failed;
    int error = FailureCode::None; // for Failed
    std::size_t bytesWritten = 0;  // for Written
    int stoppedAt = 0;             // for Stopped: 1-based position of the character or block
    int stoppedLength = 0;         // and its length in characters
    int errorAt = 0;               // for an encoding failure: the block it comes from
    bool journalUnflushed = false; // for Written: the journal's last flush failed
    JournalReport report;          // of the journalled write
};

// Encodes the translation, takes the offset from the script file name and
// only then writes the ROM, so no failure leaves a partly written ROM. With a
// journal path in `files` the write is journalled (and can be undone). A
// script that was moved is written at `movedTo`, where it lives now.
InsertOutcome insertTranslation(std::string_view text, const CodecContext& context,
                                const MissingHandler& onMissing, const InvalidBlockHandler& onInvalidBlock,
                                std::string_view scriptFileName, const ProjectFiles& files,
                                std::optional<std::int64_t> movedTo = {});

} // namespace tradumar
