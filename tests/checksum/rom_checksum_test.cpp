#include <gtest/gtest.h>

#include "checksum/rom_checksum.h"
#include "support/temp_dir.h"

namespace tradumar::testsupport {
namespace {

using namespace std::literals;

std::string patterned(std::size_t size) {
    std::string rom(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        rom[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return rom;
}

void put(std::string& rom, std::size_t at, std::string_view bytes) {
    rom.replace(at, bytes.size(), bytes);
}

unsigned byteAt(const std::string& rom, std::size_t at) {
    return static_cast<unsigned char>(rom[at]);
}

std::string applied(std::string rom, const std::vector<RomWrite>& writes) {
    for (const RomWrite& w : writes)
        for (std::size_t i = 0; i < w.bytes.size(); ++i)
            rom[static_cast<std::size_t>(w.offset) + i] = static_cast<char>(w.bytes[i]);
    return rom;
}

// An SNES body: the size is a power of two, or one plus a power of two that
// divides it; the console sees the remainder repeated to fill the first part.
std::string snesRom(std::size_t size, std::size_t header, char mode, bool copier) {
    std::string body = patterned(size);
    put(body, header, "PUERTO AZUR          ");
    body[header + 0x15] = mode;
    body[header + 0x17] = 0x07;
    put(body, header + 0x1C, "\x34\x12\x00\x00"sv);
    put(body, header + 0x3C, "\x00\x80"sv);
    return copier ? std::string(512, '\x55') + body : body;
}

unsigned snesExpected(const std::string& rom, std::size_t base, std::size_t header) {
    std::string image = rom.substr(base);
    put(image, header + 0x1C, "\x00\x00\xFF\xFF"sv);
    std::size_t whole = 1;
    while (whole * 2 <= image.size())
        whole *= 2;
    const std::string rest = image.substr(whole);
    image.resize(whole);
    for (std::size_t filled = 0; !rest.empty() && filled < whole; filled += rest.size())
        image += rest;
    unsigned sum = 0;
    for (const char c : image)
        sum += static_cast<unsigned char>(c);
    return sum & 0xFFFF;
}

TEST(RomChecksum, SnesHeadersWithAndWithoutCopierHeader) {
    struct Case {
        std::size_t size, header;
        char mode;
        bool copier;
        RomKind kind;
    };
    for (const Case& c : {Case{0x10000, 0x7FC0, 0x20, false, RomKind::SnesLoRom},
                          Case{0xC000, 0x7FC0, 0x30, true, RomKind::SnesLoRom},
                          Case{0x18000, 0xFFC0, 0x21, true, RomKind::SnesHiRom},
                          Case{0x14000, 0xFFC0, 0x31, false, RomKind::SnesHiRom}}) {
        const std::string rom = snesRom(c.size, c.header, c.mode, c.copier);
        const std::size_t base = c.copier ? 512 : 0;
        const std::optional<RomIdentity> identity = identifyRom(rom);
        ASSERT_EQ(identity, (RomIdentity{c.kind, c.copier, static_cast<std::int64_t>(base + c.header)}))
            << c.size;
        const std::string fixed = applied(rom, checksumWrites(rom, *identity));
        const unsigned sum = snesExpected(rom, base, c.header);
        const std::size_t at = base + c.header + 0x1C;
        EXPECT_EQ(byteAt(fixed, at + 2) | byteAt(fixed, at + 3) << 8, sum) << c.size;
        EXPECT_EQ(byteAt(fixed, at) | byteAt(fixed, at + 1) << 8, sum ^ 0xFFFF) << c.size;
        EXPECT_EQ(fixed.size(), rom.size());
        // The fixed ROM is still recognised and needs no further change.
        EXPECT_EQ(applied(fixed, checksumWrites(fixed, *identifyRom(fixed))), fixed);
    }
}

TEST(RomChecksum, MegaDriveAndGameBoy) {
    // Mega Drive: an odd size, and a header that ends the ROM early.
    for (const std::size_t end : {std::size_t{0x1000}, std::size_t{0x7FF}}) {
        std::string rom = patterned(0x1001);
        put(rom, 0x100, "SEGA MEGA DRIVE ");
        put(rom, 0x1A4, std::string("\x00\x00", 2) + char(end >> 8) + char(end & 0xFF));
        ASSERT_EQ(identifyRom(rom), (RomIdentity{RomKind::MegaDrive, false, 0x100}));
        unsigned high = 0, low = 0;
        for (std::size_t i = 0x200; i <= end; ++i)
            (i % 2 == 0 ? high : low) += byteAt(rom, i);
        const std::string fixed = applied(rom, checksumWrites(rom, *identifyRom(rom)));
        EXPECT_EQ(byteAt(fixed, 0x18E) << 8 | byteAt(fixed, 0x18F), (high * 256 + low) & 0xFFFF) << end;
    }
    // Game Boy: one with the logo, one known by its header checksum alone.
    for (const bool logo : {true, false}) {
        std::string rom = patterned(logo ? 0x8000 : 0x10000);
        put(rom, 0x134, "ISLA ♪");
        rom[0x148] = logo ? 0 : 1;
        put(rom, 0x104, logo ? "\xCE\xED\x66\x66"sv : "\x00\x00\x00\x00"sv);
        unsigned header = 0;
        for (std::size_t i = 0x134; i <= 0x14C; ++i)
            header += byteAt(rom, i);
        header = (0x100 * 64 - header - 25) & 0xFF;
        if (!logo)
            rom[0x14D] = static_cast<char>(header);
        ASSERT_EQ(identifyRom(rom), (RomIdentity{RomKind::GameBoy, false, 0x100})) << logo;
        const std::string fixed = applied(rom, checksumWrites(rom, *identifyRom(rom)));
        unsigned global = 0;
        for (std::size_t i = 0; i < fixed.size(); ++i)
            global += i == 0x14E || i == 0x14F ? 0 : byteAt(fixed, i);
        EXPECT_EQ(byteAt(fixed, 0x14D), header);
        EXPECT_EQ(byteAt(fixed, 0x14E) << 8 | byteAt(fixed, 0x14F), global & 0xFFFF);
    }
}

TEST(RomChecksum, InsertionWritesGetTheChecksumOfTheRomTheyLeave) {
    TempDir dir;
    std::string rom = patterned(0x8000);
    put(rom, 0x104, "\xCE\xED\x66\x66");
    rom[0x148] = 0;
    writeBytes(dir.file("isla.gb"), rom);
    std::vector<RomWrite> writes{{"0200[3].txt", 0x200, {0xE1, 0xE9, 0xF1}}};
    const ChecksumOutcome outcome = appendChecksumWrites(dir.file("isla.gb"), writes);
    EXPECT_EQ(outcome.status, ChecksumOutcome::Status::Appended);
    ASSERT_EQ(writes.size(), 2u);
    const std::string inserted = applied(rom, {writes[0]});
    EXPECT_EQ(writes[1].bytes, checksumWrites(inserted, *identifyRom(inserted))[0].bytes);
    EXPECT_EQ(readBytes(dir.file("isla.gb")), rom); // nothing is written here

    std::vector<RomWrite> none;
    EXPECT_EQ(appendChecksumWrites(dir.file("falta.gb"), none).status, ChecksumOutcome::Status::Unreadable);
    for (const std::size_t size : {std::size_t{0x8000}, std::size_t{0x300}, std::size_t{100}}) {
        std::string zeros(size, '\0');
        EXPECT_EQ(appendChecksumWrites(zeros, none).status, ChecksumOutcome::Status::Unrecognised) << size;
    }
    EXPECT_TRUE(none.empty());
}

} // namespace
} // namespace tradumar::testsupport
