#include "pointers/pointer_format.h"

#include <array>
#include <vector>

namespace tradumar {

namespace {

constexpr std::int64_t kSnesRom = 0x400000; // the 4 MB both maps reach

std::uint64_t valueLimit(int size) {
    return std::uint64_t{1} << (8 * size);
}

// The ROM offset (header left out) of a 24-bit SNES address, or nothing.
std::optional<std::int64_t> snesOffset(AddressMap map, std::int64_t address) {
    if (address < 0 || address > 0xFFFFFF)
        return std::nullopt;
    const std::int64_t bank = address >> 16;
    const std::int64_t low = address & 0xFFFF;
    if (map == AddressMap::LoRom) {
        if (low < 0x8000 || bank == 0x7E || bank == 0x7F)
            return std::nullopt; // RAM, registers and the work RAM banks
        return ((bank & 0x7F) << 15) | (low & 0x7FFF);
    }
    if (bank >= 0xC0)
        return ((bank - 0xC0) << 16) | low;
    if (bank >= 0x40 && bank < 0x7E)
        return ((bank - 0x40) << 16) | low;
    if ((bank < 0x40 || (bank >= 0x80 && bank < 0xC0)) && low >= 0x8000)
        return ((bank & 0x3F) << 16) | low;
    return std::nullopt;
}

// Every SNES address that reaches a ROM offset, in the order they are preferred.
std::vector<std::int64_t> snesAddresses(AddressMap map, std::int64_t offset) {
    std::vector<std::int64_t> out;
    if (offset < 0 || offset >= kSnesRom)
        return out;
    if (map == AddressMap::LoRom) {
        const std::int64_t bank = offset >> 15;
        const std::int64_t low = 0x8000 | (offset & 0x7FFF);
        if (bank < 0x7E)
            out.push_back(bank << 16 | low);
        out.push_back((bank | 0x80) << 16 | low);
        return out;
    }
    const std::int64_t bank = offset >> 16;
    const std::int64_t low = offset & 0xFFFF;
    out.push_back((0xC0 | bank) << 16 | low);
    if ((0x40 | bank) < 0x7E)
        out.push_back((0x40 | bank) << 16 | low);
    if (low >= 0x8000) {
        out.push_back((0x80 | bank) << 16 | low);
        out.push_back(bank << 16 | low);
    }
    return out;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::vector<std::string_view> splitAt(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i)
        if (i == text.size() || text[i] == separator) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    return parts;
}

} // namespace

std::optional<std::int64_t> parseHexNumber(std::string_view text) {
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | digit;
    }
    return value;
}

std::optional<std::int64_t> parseDecimalNumber(std::string_view text) {
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string hexNumber(std::int64_t value) {
    static const char digits[] = "0123456789ABCDEF";
    const bool negative = value < 0;
    auto magnitude = negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::string out;
    do {
        out.insert(out.begin(), digits[magnitude & 15]);
        magnitude >>= 4;
    } while (magnitude != 0);
    return negative ? "-" + out : out;
}

bool PointerFormat::valid() const {
    return size >= 2 && size <= 4 && (header == 0 || header == 512) &&
           displacement > -(std::int64_t{1} << 32) && displacement < (std::int64_t{1} << 32);
}

std::optional<std::int64_t> PointerFormat::offsetOf(std::uint64_t value) const {
    if (!valid() || value >= valueLimit(size))
        return std::nullopt;
    const std::int64_t address = static_cast<std::int64_t>(value) + displacement;
    std::optional<std::int64_t> offset;
    if (map == AddressMap::Linear)
        offset = address >= 0 ? std::optional(address) : std::nullopt;
    else
        offset = snesOffset(map, address);
    if (!offset)
        return std::nullopt;
    return *offset + header;
}

std::optional<std::uint64_t> PointerFormat::valueOf(std::int64_t fileOffset,
                                                    std::optional<std::uint64_t> like) const {
    if (!valid())
        return std::nullopt;
    const std::int64_t offset = fileOffset - header;
    if (offset < 0)
        return std::nullopt;
    const std::vector<std::int64_t> addresses =
        map == AddressMap::Linear ? std::vector<std::int64_t>{offset} : snesAddresses(map, offset);
    const auto fits = [&](std::int64_t address) {
        const std::int64_t value = address - displacement;
        return value >= 0 && static_cast<std::uint64_t>(value) < valueLimit(size);
    };
    if (like && map != AddressMap::Linear) {
        // LoROM mirrors differ in the bank's top bit, HiROM's in its two top bits.
        const std::int64_t mask = map == AddressMap::LoRom ? 0x800000 : 0xC00000;
        const std::int64_t family = (static_cast<std::int64_t>(*like) + displacement) & mask;
        for (const std::int64_t address : addresses)
            if ((address & mask) == family && fits(address))
                return static_cast<std::uint64_t>(address - displacement);
    }
    for (const std::int64_t address : addresses)
        if (fits(address))
            return static_cast<std::uint64_t>(address - displacement);
    return std::nullopt;
}

std::uint64_t PointerFormat::read(std::span<const std::uint8_t> bytes) const {
    std::uint64_t value = 0;
    const auto n = static_cast<std::size_t>(size);
    for (std::size_t i = 0; i < n && i < bytes.size(); ++i) {
        const std::size_t at = order == ByteOrder::Little ? n - 1 - i : i;
        value = value << 8 | bytes[at];
    }
    return value;
}

Bytes PointerFormat::write(std::uint64_t value) const {
    Bytes out(static_cast<std::size_t>(size));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(value >> (8 * i));
        out[order == ByteOrder::Little ? i : out.size() - 1 - i] = byte;
    }
    return out;
}

std::string PointerFormat::text() const {
    static constexpr std::array<const char*, 3> maps = {"lineal", "lorom", "hirom"};
    return std::to_string(size) + ":" + (order == ByteOrder::Little ? "le" : "be") + ":" +
           maps[static_cast<std::size_t>(map)] + ":" + hexNumber(displacement) + ":" + std::to_string(header);
}

std::optional<PointerFormat> PointerFormat::parse(std::string_view text) {
    const std::vector<std::string_view> parts = splitAt(text, ':');
    if (parts.size() != 5)
        return std::nullopt;
    PointerFormat format;
    if (parts[0] != "2" && parts[0] != "3" && parts[0] != "4")
        return std::nullopt;
    format.size = parts[0][0] - '0';
    if (parts[1] == "le")
        format.order = ByteOrder::Little;
    else if (parts[1] == "be")
        format.order = ByteOrder::Big;
    else
        return std::nullopt;
    if (parts[2] == "lineal")
        format.map = AddressMap::Linear;
    else if (parts[2] == "lorom")
        format.map = AddressMap::LoRom;
    else if (parts[2] == "hirom")
        format.map = AddressMap::HiRom;
    else
        return std::nullopt;
    std::string_view displacement = parts[3];
    const bool negative = !displacement.empty() && displacement.front() == '-';
    if (negative || (!displacement.empty() && displacement.front() == '+'))
        displacement.remove_prefix(1);
    const std::optional<std::int64_t> magnitude = parseHexNumber(displacement);
    if (!magnitude)
        return std::nullopt;
    format.displacement = negative ? -*magnitude : *magnitude;
    if (parts[4] != "0" && parts[4] != "512")
        return std::nullopt;
    format.header = parts[4] == "0" ? 0 : 512;
    return format;
}

} // namespace tradumar
