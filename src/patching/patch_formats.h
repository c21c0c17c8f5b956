#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tradumar {

// Patches are built from two whole files held as bytes (std::string, one char
// per byte) and give back the patch file's bytes.

// BPS: "BPS1", the source and target sizes, no metadata, then actions that
// copy the unchanged runs from the source (SourceRead) and carry the changed
// bytes themselves (TargetRead), then the source, target and patch CRC32.
std::string makeBpsPatch(std::string_view source, std::string_view target);

// IPS can only address the first 16 MiB of a file.
constexpr std::size_t kIpsMaxTargetSize = 0x1000000;

// IPS: "PATCH", records of changed bytes (RLE records for long runs of one
// byte), "EOF", and the target size after it when the target is shorter than
// the source. Nothing when the target is too large for the format (see
// ipsCanHold).
bool ipsCanHold(std::size_t sourceSize, std::size_t targetSize);
std::string makeIpsPatch(std::string_view source, std::string_view target);

// The bytes a patch changes: the target's bytes that differ from the source's
// byte at the same offset or lie past its end, and the source's bytes cut off.
std::size_t countChangedBytes(std::string_view source, std::string_view target);

// Applying a patch read from outside: every size, offset and checksum is
// checked, nothing is trusted.
enum class PatchError {
    None,
    NotAPatch,     // wrong header
    Truncated,     // the patch ends inside a record or an action
    WrongSource,   // the source's size or CRC32 is not the one the patch was made from
    OutOfRange,    // an action reads or writes outside the source or the target
    TooLarge,      // the target would exceed the applier's limit
    BadChecksum,   // the patch's or the result's CRC32 does not match
    TrailingBytes, // bytes after the end of an IPS patch that are not a size
};

struct AppliedPatch {
    std::string target;
    PatchError error = PatchError::None;
    bool ok() const { return error == PatchError::None; }
};

AppliedPatch applyBpsPatch(std::string_view patch, std::string_view source,
                           std::size_t maxTargetSize = std::size_t{1} << 31);
AppliedPatch applyIpsPatch(std::string_view patch, std::string_view source,
                           std::size_t maxTargetSize = kIpsMaxTargetSize + 0x10000);

// zlib's CRC32 over bytes of any length.
std::uint32_t crc32Of(std::string_view bytes);

} // namespace tradumar
