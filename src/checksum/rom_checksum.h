#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "insertion/insertion_journal.h"

namespace tradumar {

// Consoles whose games check a checksum kept in their own header.
enum class RomKind { SnesLoRom, SnesHiRom, MegaDrive, GameBoy };

// A ROM whose header the program recognises.
struct RomIdentity {
    RomKind kind = RomKind::SnesLoRom;
    bool copierHeader = false; // SNES: 512 bytes a copier put before the ROM
    std::int64_t headerOffset =
        0; // in the file: SNES 0x7FC0 or 0xFFC0 (+512), Mega Drive 0x100, Game Boy 0x100
    bool operator==(const RomIdentity&) const = default;
};

// Recognises the ROM by its size and header:
// - Game Boy (and Color): a size of 32 KB times a power of two that the
//   header's size byte (0x148) gives, and either the header checksum (0x14D)
//   right or the start of the logo (CE ED 66 66) at 0x104.
// - Mega Drive: "SEGA" within 0x100-0x10F and at least 0x200 bytes.
// - SNES: a file of 32 KB or more, with a copier header when its size is 512
//   more than a multiple of 1024; the LoROM (0x7FC0) or HiROM (0xFFC0) header
//   whose map mode byte, checksum complement, ROM size byte and reset vector
//   look most like one, as long as its map mode matches its place.
// Nothing for anything else.
std::optional<RomIdentity> identifyRom(std::string_view rom);

// The writes that set a recognised ROM's checksum to the right value (they
// are returned even when it already is). SNES: the complement and the
// checksum (little-endian) of the 16-bit sum of the ROM's bytes, a size that
// is not a power of two counted as the console mirrors it. Mega Drive: the
// big-endian 16-bit sum of the big-endian words from 0x200 to the ROM end
// the header gives (0x1A4), or to the file's end when that is not inside the
// file. Game Boy: the header checksum over 0x134-0x14C, then the big-endian
// 16-bit sum of every byte but the two of the global checksum.
// Each write is named kChecksumWriteName for the journal.
constexpr std::string_view kChecksumWriteName = "(suma de control)";
std::vector<RomWrite> checksumWrites(std::string_view rom, const RomIdentity& identity);

// What setting the checksum after some writes needs: the ROM is read, the
// writes are applied to it in memory, and the checksum writes of the result
// are appended to them, so the caller journals all of them as one step.
struct ChecksumOutcome {
    enum class Status { Appended, Unrecognised, Unreadable };
    Status status = Status::Appended;
    std::optional<RomIdentity> identity;
};
ChecksumOutcome appendChecksumWrites(const std::string& romPath, std::vector<RomWrite>& writes);

// The same on the ROM's bytes in memory (changed by the writes as they go in).
ChecksumOutcome appendChecksumWrites(std::string& rom, std::vector<RomWrite>& writes);

// "SNES (LoROM)", "SNES (HiROM)", "Mega Drive", "Game Boy".
std::string romKindText(RomKind kind);

// The sentence inserting shows once when the option is on and the ROM is
// none of the kinds above.
std::string unrecognisedChecksumText();

// The reminder the patch export gives when the ROM has a copier header.
std::string copierHeaderReminderText();

} // namespace tradumar
