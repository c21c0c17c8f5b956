#include <gtest/gtest.h>

#include "pointers/pointer_file.h"
#include "pointers/pointer_search.h"

namespace tradumar {
namespace {

PointerFormat format(int size, ByteOrder order, AddressMap map, std::int64_t displacement = 0,
                     int header = 0) {
    return {size, order, map, displacement, header};
}

TEST(PointerFormat, ValuesAndFileOffsetsMapBothWaysInEveryMap) {
    constexpr auto LE = ByteOrder::Little, BE = ByteOrder::Big;
    constexpr auto Lin = AddressMap::Linear, Lo = AddressMap::LoRom, Hi = AddressMap::HiRom;
    struct Row {
        PointerFormat format;
        std::uint64_t value;
        std::optional<std::int64_t> offset; // nothing: the value leads outside the ROM
        Bytes stored;
    };
    const std::vector<Row> rows = {
        {format(4, LE, Lin, -0x08000000), 0x08123456, 0x123456, {0x56, 0x34, 0x12, 0x08}},
        {format(4, LE, Lin, -0x08000000), 0x07FFFFFF, std::nullopt, {0xFF, 0xFF, 0xFF, 0x07}},
        {format(2, BE, Lin, 0x10010 - 0x8000), 0x8123, 0x10133, {0x81, 0x23}},
        {format(3, BE, Lin), 0x01FFFF, 0x1FFFF, {0x01, 0xFF, 0xFF}},
        {format(3, LE, Lo), 0x008000, 0, {0x00, 0x80, 0x00}},
        {format(3, LE, Lo, 0, 512), 0x01A345, 0xA345 + 0x200, {0x45, 0xA3, 0x01}},
        {format(3, LE, Lo), 0x7E8000, std::nullopt, {0x00, 0x80, 0x7E}}, // work RAM
        {format(3, LE, Lo), 0x017FFF, std::nullopt, {0xFF, 0x7F, 0x01}}, // not the ROM half
        {format(3, LE, Lo), 0xFF8000, 0x3F8000, {0x00, 0x80, 0xFF}},
        {format(2, LE, Lo, 0x8C0000), 0x9234, 0x61234, {0x34, 0x92}},
        {format(3, BE, Hi), 0xC12345, 0x12345, {0xC1, 0x23, 0x45}},
        {format(3, BE, Hi), 0x412345, 0x12345, {0x41, 0x23, 0x45}},
        {format(3, BE, Hi), 0x818000, 0x18000, {0x81, 0x80, 0x00}},
        {format(3, BE, Hi), 0x011234, std::nullopt, {0x01, 0x12, 0x34}},
        {format(4, BE, Hi, 0, 512), 0x00C00010, 0x210, {0x00, 0xC0, 0x00, 0x10}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.format.text() + " " + hexNumber(static_cast<std::int64_t>(r.value)));
        EXPECT_EQ(r.format.write(r.value), r.stored);
        EXPECT_EQ(r.format.read(r.stored), r.value);
        EXPECT_EQ(r.format.offsetOf(r.value), r.offset);
        if (r.offset) { // back from the offset: the same value, its mirror kept
            EXPECT_EQ(r.format.valueOf(*r.offset, r.value), r.value);
        }
        EXPECT_EQ(PointerFormat::parse(r.format.text()), r.format);
    }
    // Offsets no value reaches: before the header, past 16 bits from the
    // base, past the 4 MB of an SNES map, outside a 2-byte pointer's bank.
    EXPECT_FALSE(format(3, LE, Lo, 0, 512).valueOf(0x100));
    EXPECT_FALSE(format(2, LE, Lin, 0x4000).valueOf(0x14000));
    EXPECT_FALSE(format(3, LE, Hi).valueOf(0x400000));
    EXPECT_FALSE(format(2, LE, Lo, 0x8C0000).valueOf(0x68000));
    // Without an old value, the first bank family of the map.
    EXPECT_EQ(format(3, LE, Lo).valueOf(0x8000), 0x018000u);
    EXPECT_EQ(format(3, LE, Hi).valueOf(0x8000), 0xC08000u);
    for (const char* bad : {"5:le:lineal:0:0", "2:me:lineal:0:0", "2:le:exrom:0:0", "2:le:lineal:0:256",
                            "2:le:lineal:G:0", "2:le:lineal:0"})
        EXPECT_FALSE(PointerFormat::parse(bad)) << bad;
}

TEST(PointerFile, WritesWhatItReadsAndNamesTheFirstWrongLine) {
    const std::string text = "# comentario\r\n"
                             "tradumar-punteros 1\r\n"
                             "formato 3:le:lorom:0:512\r\n"
                             "relleno 00\r\n"
                             "alineacion 4\r\n"
                             "libre 300000-30FFFF\r\n"
                             "libre 8000-80ff\r\n"
                             "tabla 1A000 200 3 3:le:lorom:0:512\r\n"
                             "punteros 3:le:lorom:0:512 1A000 1A003 = 18060[55].txt\r\n"
                             "punteros 2:be:lineal:-8000:0 40 = 18060[55].txt\r\n"
                             "punteros 2:le:lineal:0:0 10 = un nombre con = y blancos.txt\r\n"
                             "lugar 300000 60 = 18060[55].txt\r\n";
    const PointerFileLoad load = parsePointerFile(text);
    ASSERT_EQ(load.status, PointerFileLoad::Status::Read) << load.line << ": " << load.reason;
    const PointerFile& f = load.file;
    EXPECT_EQ(f.format.text(), "3:le:lorom:0:512");
    EXPECT_EQ(std::tuple(f.filler, f.alignment), std::tuple(std::uint8_t{0}, 4));
    EXPECT_EQ(f.freeRanges, (std::vector<ByteRange>{{0x300000, 0x30FFFF}, {0x8000, 0x80FF}}));
    EXPECT_EQ(f.pointersOf("18060[55].txt").size(), 3u);
    EXPECT_EQ(f.pointersOf("un nombre con = y blancos.txt").at(0).offset, 0x10);
    EXPECT_EQ(f.recordedRoom("18060[55].txt", 0x300000), 60);
    EXPECT_EQ(parsePointerFile(formatPointerFile(f)).file, f);

    struct Bad {
        const char* line;
        int number; // the line reported
    };
    for (const Bad& b :
         {Bad{"formato 3:le:lorom:0", 2}, Bad{"relleno 1FF", 2}, Bad{"alineacion 0", 2},
          Bad{"libre 20-10", 2}, Bad{"tabla 1A000 0 3 3:le:lorom:0:0", 2},
          Bad{"punteros 3:le:lorom:0:0 = sin.txt", 2}, Bad{"punteros 3:le:lorom:0:0 10", 2},
          Bad{"lugar 300000 0 = a.txt", 2}, Bad{"libre 10-20 = a.txt", 2}, Bad{"otra cosa", 2}}) {
        const PointerFileLoad wrong =
            parsePointerFile(std::string("tradumar-punteros 1\n") + b.line + "\nlibre 1-2\n");
        EXPECT_EQ(std::tuple(wrong.status, wrong.line),
                  std::tuple(PointerFileLoad::Status::Invalid, b.number))
            << b.line;
        EXPECT_FALSE(wrong.reason.empty());
    }
    EXPECT_EQ(parsePointerFile("libre 1-2\n").line, 1) << "a file without its first line is not ours";
}

// A table of pointers into the ROM, the same pointer alone (in the other
// bank mirror) and text whose bytes match by chance.
TEST(PointerSearch, FindsEveryStoredValueAndTellsTablesFromChance) {
    const PointerFormat lorom = format(3, ByteOrder::Little, AddressMap::LoRom);
    Bytes rom(0x10000, 0x20);
    const auto put = [&](std::size_t at, const Bytes& bytes) {
        std::copy(bytes.begin(), bytes.end(), rom.begin() + at);
    };
    for (int k = 0; k < 4; ++k)
        put(0x100 + 3 * static_cast<std::size_t>(k), lorom.write(0x008000 + 0x40 * static_cast<unsigned>(k)));
    put(0x2001, lorom.write(0x808040));
    put(0x3000, {0x11, 0x12, 0x40, 0x80, 0x00, 0x13, 0x14});
    const std::vector<PointerCandidate> found = findPointerCandidates(rom, lorom, 0x40);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(std::tuple(found[0].offset, found[0].inTable), std::tuple(0x103, true));
    EXPECT_EQ(std::tuple(found[1].offset, found[1].value, found[1].inTable),
              std::tuple(0x2001, 0x808040u, false));
    EXPECT_EQ(std::tuple(found[2].offset, found[2].inTable), std::tuple(0x3002, false));
    EXPECT_EQ(found[2].before, (Bytes{0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x11, 0x12}));
    EXPECT_EQ(found[2].after, (Bytes{0x13, 0x14, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20}));
}

} // namespace
} // namespace tradumar
