#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "encoding/conversions.h"

namespace tradumar {

enum class ByteOrder { Little, Big };

// How a pointer's value becomes a place in the ROM. The value plus the
// displacement is an address; `Linear` takes that address as the offset in
// the ROM image, `LoRom` and `HiRom` read it as a 24-bit SNES address
// (bank in the top byte) through the two cartridge maps, up to 4 MB of ROM.
enum class AddressMap { Linear, LoRom, HiRom };

// A pointer's size, byte order and map, and the copier header in front of
// the ROM image (0 or 512 bytes, added to every file offset).
//   GBA:                4 bytes, little, Linear, displacement -0x08000000
//   NES bank at 0x10010 mapped to 0x8000: 2 bytes, little, Linear, 0x10010 - 0x8000 - header
//   SNES, 2-byte pointers into bank 0x8C: 2 bytes, little, LoRom, displacement 0x8C0000
struct PointerFormat {
    int size = 2; // 2, 3 or 4 bytes
    ByteOrder order = ByteOrder::Little;
    AddressMap map = AddressMap::Linear;
    std::int64_t displacement = 0;
    int header = 0; // 0 or 512

    bool valid() const;

    // The file offset a value points at; nothing when the address lies
    // outside the ROM's map (SNES RAM, registers, a negative offset).
    std::optional<std::int64_t> offsetOf(std::uint64_t value) const;

    // The value that points at a file offset; nothing when no value of this
    // size reaches it. An SNES offset is reached from several banks (LoROM
    // 00-7D and 80-FF, HiROM C0-FF, 40-7D and the upper halves of 00-3F and
    // 80-BF); the first that fits is taken, preferring the bank family of
    // `like` (the pointer's old value), so a rewritten pointer stays in the
    // mirror the game used.
    std::optional<std::uint64_t> valueOf(std::int64_t fileOffset,
                                         std::optional<std::uint64_t> like = {}) const;

    // The value stored in `size` bytes in the format's byte order.
    std::uint64_t read(std::span<const std::uint8_t> bytes) const;
    Bytes write(std::uint64_t value) const;

    // "SIZE:ORDER:MAP:DISPLACEMENT:HEADER", as the pointer file writes it:
    // "3:le:lorom:0:512", "4:le:lineal:-8000000:0" (displacement in
    // hexadecimal with an optional sign, header in decimal).
    std::string text() const;
    static std::optional<PointerFormat> parse(std::string_view text);

    bool operator==(const PointerFormat&) const = default;
};

// 1 to 8 hexadecimal digits (either case) as a number; nothing for anything else.
std::optional<std::int64_t> parseHexNumber(std::string_view text);
// Uppercase hexadecimal digits without leading zeros ("0" for zero); a minus
// sign in front of a negative number.
std::string hexNumber(std::int64_t value);
// 1 to 9 decimal digits as a number; nothing for anything else.
std::optional<std::int64_t> parseDecimalNumber(std::string_view text);

} // namespace tradumar
