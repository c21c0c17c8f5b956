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

unsigned at(const std::string& rom, std::size_t i) {
    return static_cast<unsigned char>(rom[i]);
}

std::string fixed(std::string rom) {
    for (const RomWrite& w : checksumWrites(rom, identifyRom(rom).value()))
        std::copy(w.bytes.begin(), w.bytes.end(), rom.begin() + w.offset);
    return rom;
}

// The sum of an SNES body worked out on the picture the console sees: a
// remainder past the largest power of two repeated until it fills another
// one, the checksum fields counted as 00 00 FF FF.
unsigned snesSum(std::string image, std::size_t fields) {
    image.replace(fields, 4, "\x00\x00\xFF\xFF"sv);
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
        std::string body = patterned(c.size);
        body.replace(c.header, 21, "PUERTO AZUR          ");
        body[c.header + 0x15] = c.mode;
        body[c.header + 0x17] = 0x07;
        body.replace(c.header + 0x1C, 4, "\x34\x12\x00\x00"sv);
        body.replace(c.header + 0x3C, 2, "\x00\x80"sv);
        const std::size_t base = c.copier ? 512 : 0;
        const std::string rom = std::string(base, '\x55') + body;
        const auto place = static_cast<std::int64_t>(base + c.header);
        ASSERT_EQ(identifyRom(rom), (RomIdentity{c.kind, c.copier, place})) << c.size;
        const std::string out = fixed(rom);
        const std::size_t f = base + c.header + 0x1C;
        const unsigned sum = snesSum(body, c.header + 0x1C);
        EXPECT_EQ((std::array{at(out, f) | at(out, f + 1) << 8, at(out, f + 2) | at(out, f + 3) << 8}),
                  (std::array{sum ^ 0xFFFF, sum}))
            << c.size;
        EXPECT_EQ(fixed(out), out); // still recognised, nothing more to change
    }
}

TEST(RomChecksum, MegaDriveAndGameBoy) {
    // Mega Drive: an odd size, and a header that ends the ROM early.
    for (const std::size_t end : {0x1000u, 0x7FFu}) {
        std::string rom = patterned(0x1001);
        rom.replace(0x100, 16, "SEGA MEGA DRIVE ");
        rom.replace(0x1A4, 4, std::string{0, 0, static_cast<char>(end >> 8), static_cast<char>(end & 0xFF)});
        ASSERT_EQ(identifyRom(rom), (RomIdentity{RomKind::MegaDrive, false, 0x100}));
        unsigned high = 0, low = 0;
        for (std::size_t i = 0x200; i <= end; ++i)
            (i % 2 == 0 ? high : low) += at(rom, i);
        const std::string out = fixed(rom);
        EXPECT_EQ(at(out, 0x18E) << 8 | at(out, 0x18F), (high * 256 + low) & 0xFFFF) << end;
    }
    // Game Boy: one with the logo, one known by its header checksum alone.
    for (const bool logo : {true, false}) {
        std::string rom = patterned(logo ? 0x8000 : 0x10000);
        rom.replace(0x134, 8, "ISLA ♪");
        rom[0x148] = logo ? 0 : 1;
        rom.replace(0x104, 4, logo ? "\xCE\xED\x66\x66"sv : "\x00\x00\x00\x00"sv);
        unsigned header = 0;
        for (std::size_t i = 0x134; i <= 0x14C; ++i)
            header += at(rom, i);
        header = (0x4000 - header - 25) & 0xFF;
        if (!logo)
            rom[0x14D] = static_cast<char>(header);
        ASSERT_EQ(identifyRom(rom), (RomIdentity{RomKind::GameBoy, false, 0x100})) << logo;
        const std::string out = fixed(rom);
        unsigned global = 0;
        for (std::size_t i = 0; i < out.size(); ++i)
            global += i == 0x14E || i == 0x14F ? 0 : at(out, i);
        EXPECT_EQ((std::array{at(out, 0x14D), at(out, 0x14E) << 8 | at(out, 0x14F)}),
                  (std::array{header, global & 0xFFFF}));
    }
}

TEST(RomChecksum, InsertionWritesGetTheChecksumOfTheRomTheyLeave) {
    TempDir dir;
    std::string rom = patterned(0x8000);
    rom.replace(0x104, 4, "\xCE\xED\x66\x66");
    rom[0x148] = 0;
    writeBytes(dir.file("isla.gb"), rom);
    std::vector<RomWrite> writes{{"0200[3].txt", 0x200, {0xE1, 0xE9, 0xF1}}};
    EXPECT_EQ(appendChecksumWrites(dir.file("isla.gb"), writes).status, ChecksumOutcome::Status::Appended);
    ASSERT_EQ(writes.size(), 2u);
    const std::string inserted = std::string(rom).replace(0x200, 3, "\xE1\xE9\xF1");
    EXPECT_EQ(writes[1].bytes, checksumWrites(inserted, identifyRom(inserted).value())[0].bytes);
    EXPECT_EQ(readBytes(dir.file("isla.gb")), rom); // nothing is written here

    std::vector<RomWrite> none;
    EXPECT_EQ(appendChecksumWrites(dir.file("falta.gb"), none).status, ChecksumOutcome::Status::Unreadable);
    for (const std::size_t size : {0x8000u, 0x300u, 100u}) {
        std::string zeros(size, '\0');
        EXPECT_EQ(appendChecksumWrites(zeros, none).status, ChecksumOutcome::Status::Unrecognised) << size;
    }
    EXPECT_TRUE(none.empty());
}

} // namespace
} // namespace tradumar::testsupport
