#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tradumar {

enum class PatchFormat { Bps, Ips };

// The format a patch file's name asks for: ".bps" or ".ips", in any letter
// case; nothing for any other name.
std::optional<PatchFormat> patchFormatOf(const std::string& patchPath);

// The untouched copy of the ROM that the first insertion keeps beside it.
std::string originalRomPathOf(const std::string& romPath);

struct PatchExport {
    enum class Status {
        Written,
        UnknownFormat,    // the name ends neither in .bps nor in .ips
        SourceUnreadable, // the original ROM cannot be read
        TargetUnreadable, // the project's ROM cannot be read
        TooLargeForIps,   // the ROM is larger than IPS can address
        WriteFailed,      // the patch file cannot be written (error holds errno)
    };
    Status status = Status::Written;
    int error = 0;
    std::size_t patchSize = 0;
    std::size_t changedBytes = 0;
    std::size_t sourceSize = 0; // the source as read, once it could be read
    std::uint32_t sourceCrc = 0;
    // The source is an SNES ROM with a copier's 512-byte header, which many
    // of those who apply the patch have not got (copierHeaderReminderText).
    bool copierHeader = false;
};

// Reads the original and the current ROM whole, builds the patch in the
// format the patch file's name asks for, and writes it through a temporary
// file and a rename.
PatchExport exportPatch(const std::string& sourcePath, const std::string& targetPath,
                        const std::string& patchPath);

} // namespace tradumar
