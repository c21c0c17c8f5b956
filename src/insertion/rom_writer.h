#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "encoding/script_codec.h"

namespace tradumar {

// Writes `bytes` into the file at `offset` in one positioned write, creating
// the file when missing and extending it when the bytes reach past its end;
// every other byte stays as it was. Returns 0 or a failure code (52, 70, 75,
// 76).
int writeBytesAt(const std::string& path, std::int64_t offset, const Bytes& bytes);

// The failure code a system error (errno) of opening or writing the ROM
// becomes: 52, 70, 75 or 76.
int failureCodeForError(int error);

struct InsertOutcome {
    enum class Kind { Written, Stopped, Failed };
    Kind kind = Kind::Failed;
    int error = FailureCode::None; // for Failed
    std::size_t bytesWritten = 0;  // for Written
    int stoppedAt = 0;             // for Stopped: 1-based position of the character
};

// Encodes the translation, takes the offset from the script file name and
// only then writes the ROM, so no failure leaves a partly written ROM. With a
// journal path the write is journalled (and can be undone).
InsertOutcome insertTranslation(std::string_view text, const CodecContext& context,
                                const MissingHandler& onMissing, std::string_view scriptFileName,
                                const std::string& romPath, const std::string& journalPath = {});

} // namespace tradumar
