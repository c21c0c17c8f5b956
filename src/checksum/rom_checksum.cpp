#include "checksum/rom_checksum.h"

#include <algorithm>
#include <bit>

#include "common/file_io.h"

namespace tradumar {
namespace {

std::vector<RomWrite> oneWrite(std::int64_t offset, Bytes bytes) {
    RomWrite write;
    write.scriptName = kChecksumWriteName;
    write.offset = offset;
    write.bytes = std::move(bytes);
    return {write};
}

std::uint8_t byteAt(std::string_view rom, std::size_t at) {
    return static_cast<std::uint8_t>(rom[at]);
}

std::uint64_t sumOf(std::string_view bytes) {
    std::uint64_t sum = 0;
    for (const char c : bytes)
        sum += static_cast<std::uint8_t>(c);
    return sum;
}

// --- Game Boy -------------------------------------------------------------

constexpr std::size_t kGbHeaderChecksum = 0x14D;

std::uint8_t gameBoyHeaderChecksum(std::string_view rom) {
    std::uint8_t x = 0;
    for (std::size_t i = 0x134; i <= 0x14C; ++i)
        x = static_cast<std::uint8_t>(x - byteAt(rom, i) - 1);
    return x;
}

bool isGameBoy(std::string_view rom) {
    if (rom.size() < 0x8000)
        return false;
    const unsigned sizeCode = byteAt(rom, 0x148);
    if (sizeCode > 8 || (std::size_t{0x8000} << sizeCode) != rom.size())
        return false;
    return byteAt(rom, kGbHeaderChecksum) == gameBoyHeaderChecksum(rom) ||
           rom.substr(0x104, 4) == "\xCE\xED\x66\x66";
}

std::vector<RomWrite> gameBoyWrites(std::string_view rom) {
    const std::uint8_t header = gameBoyHeaderChecksum(rom);
    // Every byte but the global checksum's two, with the header checksum as it will be.
    const std::uint64_t sum =
        sumOf(rom) - byteAt(rom, 0x14D) - byteAt(rom, 0x14E) - byteAt(rom, 0x14F) + header;
    const auto global = static_cast<std::uint16_t>(sum);
    return oneWrite(0x14D,
                    {header, static_cast<std::uint8_t>(global >> 8), static_cast<std::uint8_t>(global)});
}

// --- Mega Drive -----------------------------------------------------------

bool isMegaDrive(std::string_view rom) {
    return rom.size() >= 0x200 && rom.substr(0x100, 16).find("SEGA") != std::string_view::npos;
}

std::vector<RomWrite> megaDriveWrites(std::string_view rom) {
    std::uint64_t end = 0;
    for (std::size_t i = 0x1A4; i < 0x1A8; ++i)
        end = end << 8 | byteAt(rom, i);
    const std::size_t limit =
        end >= 0x200 && end < rom.size() ? static_cast<std::size_t>(end) + 1 : rom.size();
    std::uint32_t sum = 0;
    for (std::size_t i = 0x200; i < limit; i += 2)
        sum += static_cast<std::uint32_t>(byteAt(rom, i)) << 8 | (i + 1 < limit ? byteAt(rom, i + 1) : 0);
    return oneWrite(0x18E, {static_cast<std::uint8_t>(sum >> 8), static_cast<std::uint8_t>(sum)});
}

// --- SNES -----------------------------------------------------------------

constexpr std::size_t kLoRomHeader = 0x7FC0;
constexpr std::size_t kHiRomHeader = 0xFFC0;

// How much the header at `place` of the ROM body looks like one; -1 when its
// map mode does not match its place.
int snesHeaderScore(std::string_view body, std::size_t place, bool hi) {
    if (body.size() < place + 0x40)
        return -1;
    const std::string_view h = body.substr(place, 0x40);
    const unsigned mode = byteAt(h, 0x15) & 0xEF;
    const bool modeFits = hi ? mode == 0x21 : (mode == 0x20 || mode == 0x22 || mode == 0x23);
    if (!modeFits)
        return -1;
    int score = 0;
    const unsigned complement = byteAt(h, 0x1C) | byteAt(h, 0x1D) << 8;
    const unsigned checksum = byteAt(h, 0x1E) | byteAt(h, 0x1F) << 8;
    if ((complement ^ checksum) == 0xFFFF)
        score += 4;
    if (const unsigned size = byteAt(h, 0x17); size >= 0x05 && size <= 0x0D)
        score += 1;
    if ((byteAt(h, 0x3C) | byteAt(h, 0x3D) << 8) >= 0x8000)
        score += 1;
    bool printable = true;
    for (std::size_t i = 0; i < 21; ++i)
        printable = printable && ((byteAt(h, i) >= 0x20 && byteAt(h, i) < 0x7F) || byteAt(h, i) >= 0xA0);
    return printable ? score + 1 : score;
}

// The 16-bit sum of a ROM body as the console sees it: a size that is not a
// power of two has its remainder mirrored (itself the same way) until it
// fills the power of two after the largest part. Returns the sum and the
// size it covers.
std::pair<std::uint64_t, std::size_t> mirroredSum(std::string_view body) {
    const std::size_t whole = std::bit_floor(body.size());
    std::uint64_t sum = sumOf(body.substr(0, whole));
    if (whole == body.size())
        return {sum, whole};
    auto [rest, covered] = mirroredSum(body.substr(whole));
    for (; covered < whole; covered *= 2)
        rest *= 2;
    return {sum + rest, whole * 2};
}

std::vector<RomWrite> snesWrites(std::string_view rom, const RomIdentity& identity) {
    const std::size_t base = identity.copierHeader ? 512 : 0;
    const std::string_view body = rom.substr(base);
    const std::size_t fields = static_cast<std::size_t>(identity.headerOffset) - base + 0x1C;
    // The sum is taken with the fields as a right pair always leaves them
    // (complement and checksum add up to 0xFF + 0xFF); they lie in the first,
    // unmirrored part.
    std::uint64_t sum = mirroredSum(body).first - sumOf(body.substr(fields, 4)) + 0x1FE;
    const auto checksum = static_cast<std::uint16_t>(sum);
    const auto complement = static_cast<std::uint16_t>(checksum ^ 0xFFFF);
    return oneWrite(static_cast<std::int64_t>(base + fields),
                    {static_cast<std::uint8_t>(complement), static_cast<std::uint8_t>(complement >> 8),
                     static_cast<std::uint8_t>(checksum), static_cast<std::uint8_t>(checksum >> 8)});
}

std::optional<RomIdentity> identifySnes(std::string_view rom) {
    const bool copier = rom.size() % 1024 == 512;
    const std::string_view body = rom.substr(copier ? 512 : 0);
    if (body.size() < 0x8000)
        return std::nullopt;
    const int lo = snesHeaderScore(body, kLoRomHeader, false);
    const int hi = snesHeaderScore(body, kHiRomHeader, true);
    if (std::max(lo, hi) < 2)
        return std::nullopt;
    const bool isHi = hi > lo;
    const std::size_t place = (copier ? 512 : 0) + (isHi ? kHiRomHeader : kLoRomHeader);
    return RomIdentity{isHi ? RomKind::SnesHiRom : RomKind::SnesLoRom, copier,
                       static_cast<std::int64_t>(place)};
}

void applyWrite(std::string& rom, const RomWrite& write) {
    if (write.offset < 0 || static_cast<std::uint64_t>(write.offset) >= rom.size())
        return;
    const std::size_t at = static_cast<std::size_t>(write.offset);
    const std::size_t length = std::min(write.bytes.size(), rom.size() - at);
    for (std::size_t i = 0; i < length; ++i)
        rom[at + i] = static_cast<char>(write.bytes[i]);
}

} // namespace

std::optional<RomIdentity> identifyRom(std::string_view rom) {
    if (isGameBoy(rom))
        return RomIdentity{RomKind::GameBoy, false, 0x100};
    if (isMegaDrive(rom))
        return RomIdentity{RomKind::MegaDrive, false, 0x100};
    return identifySnes(rom);
}

std::vector<RomWrite> checksumWrites(std::string_view rom, const RomIdentity& identity) {
    switch (identity.kind) {
    case RomKind::GameBoy:
        return gameBoyWrites(rom);
    case RomKind::MegaDrive:
        return megaDriveWrites(rom);
    case RomKind::SnesLoRom:
    case RomKind::SnesHiRom:
        return snesWrites(rom, identity);
    }
    return {};
}

ChecksumOutcome appendChecksumWrites(std::string& rom, std::vector<RomWrite>& writes) {
    for (const RomWrite& write : writes)
        applyWrite(rom, write);
    ChecksumOutcome outcome;
    outcome.identity = identifyRom(rom);
    if (!outcome.identity) {
        outcome.status = ChecksumOutcome::Status::Unrecognised;
        return outcome;
    }
    for (RomWrite& write : checksumWrites(rom, *outcome.identity)) {
        applyWrite(rom, write);
        writes.push_back(std::move(write));
    }
    return outcome;
}

ChecksumOutcome appendChecksumWrites(const std::string& romPath, std::vector<RomWrite>& writes) {
    std::optional<std::string> rom = readWholeFile(romPath);
    if (!rom)
        return {ChecksumOutcome::Status::Unreadable, std::nullopt};
    return appendChecksumWrites(*rom, writes);
}

std::string romKindText(RomKind kind) {
    switch (kind) {
    case RomKind::SnesLoRom:
        return "SNES (LoROM)";
    case RomKind::SnesHiRom:
        return "SNES (HiROM)";
    case RomKind::MegaDrive:
        return "Mega Drive";
    case RomKind::GameBoy:
        return "Game Boy";
    }
    return {};
}

std::string unrecognisedChecksumText() {
    return "No se corrigió la suma de control: el tamaño o la cabecera de la ROM no corresponden a una ROM "
           "de "
           "SNES, Mega Drive ni Game Boy que Tradumar conozca.";
}

std::string copierHeaderReminderText() {
    return "La ROM tiene una cabecera de copiadora de 512 bytes. Muchos usuarios del parche tienen la ROM "
           "sin "
           "ella; indique en las instrucciones del parche qué versión necesita.";
}

} // namespace tradumar
