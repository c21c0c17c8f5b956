#include "patching/patch_export.h"

#include <algorithm>
#include <cctype>

#include "checksum/rom_checksum.h"
#include "common/file_io.h"
#include "insertion/insertion_journal.h"
#include "patching/patch_formats.h"

namespace tradumar {

std::optional<PatchFormat> patchFormatOf(const std::string& patchPath) {
    if (patchPath.size() < 4)
        return std::nullopt;
    std::string extension = patchPath.substr(patchPath.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".bps")
        return PatchFormat::Bps;
    if (extension == ".ips")
        return PatchFormat::Ips;
    return std::nullopt;
}

std::string originalRomPathOf(const std::string& romPath) {
    return originalCopyPath(romPath); // the copy the first insertion keeps
}

PatchExport exportPatch(const std::string& sourcePath, const std::string& targetPath,
                        const std::string& patchPath) {
    PatchExport outcome;
    const std::optional<PatchFormat> format = patchFormatOf(patchPath);
    if (!format) {
        outcome.status = PatchExport::Status::UnknownFormat;
        return outcome;
    }
    const std::optional<std::string> source = readWholeFile(sourcePath);
    if (!source) {
        outcome.status = PatchExport::Status::SourceUnreadable;
        return outcome;
    }
    outcome.sourceSize = source->size();
    outcome.sourceCrc = crc32Of(*source);
    const std::optional<RomIdentity> identity = identifyRom(*source);
    outcome.copierHeader = identity && identity->copierHeader;
    const std::optional<std::string> target = readWholeFile(targetPath);
    if (!target) {
        outcome.status = PatchExport::Status::TargetUnreadable;
        return outcome;
    }
    if (*format == PatchFormat::Ips && !ipsCanHold(source->size(), target->size())) {
        outcome.status = PatchExport::Status::TooLargeForIps;
        return outcome;
    }
    const std::string patch =
        *format == PatchFormat::Bps ? makeBpsPatch(*source, *target) : makeIpsPatch(*source, *target);
    if (const int error = writeFileAtomically(patchPath, patch); error != 0) {
        outcome.status = PatchExport::Status::WriteFailed;
        outcome.error = error;
        return outcome;
    }
    outcome.patchSize = patch.size();
    outcome.changedBytes = countChangedBytes(*source, *target);
    return outcome;
}

} // namespace tradumar
