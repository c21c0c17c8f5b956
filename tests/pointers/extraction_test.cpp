#include <gtest/gtest.h>

#include <filesystem>

#include "encoding/script_decoder.h"
#include "insertion/insert_all.h"
#include "pointer_fixture.h"
#include "pointers/script_extraction.h"
#include "support/temp_dir.h"

namespace tradumar::testsupport {
namespace {

// Every map and size: the scripts come back with their bytes, texts and the
// pointers that lead to them, through a table and through a range alike.
TEST(Extraction, GivesBackTheScriptsAndTheirPointersInEveryFormat) {
    constexpr auto LE = ByteOrder::Little, BE = ByteOrder::Big;
    const std::vector<PointerFormat> formats = {
        {2, LE, AddressMap::Linear, 0, 0},           {3, BE, AddressMap::Linear, -0x4000, 512},
        {4, LE, AddressMap::Linear, -0x08000000, 0}, {2, LE, AddressMap::LoRom, 0x810000, 0},
        {3, LE, AddressMap::LoRom, 0, 512},          {3, BE, AddressMap::HiRom, 0, 0},
        {4, BE, AddressMap::HiRom, 0, 512},
    };
    const ThingyTable table = pointerTestTable();
    for (const PointerFormat& format : formats) {
        SCOPED_TRACE(format.text());
        const int step = format.size + 1;
        std::vector<std::int64_t> offsets;
        const Bytes rom = romWithScripts(0x20000, 0xC300, 0xC100, step, format, &offsets);
        ExtractionRequest request;
        request.tables.push_back({0xC100, 3, step, format});
        request.ranges.push_back({0xC300, offsets.back() + 2});
        const Extraction found = extractScripts(rom, table, request);
        ASSERT_EQ(found.scripts.size(), 3u);
        for (std::size_t k = 0; k < 3; ++k) {
            const ExtractedScript& s = found.scripts[k];
            const KnownScript& known = knownScripts()[k];
            EXPECT_EQ(std::tuple(s.offset, s.size, s.text, s.ended, s.reencodes),
                      std::tuple(offsets[k], known.bytes.size(), known.text, true, known.reencodes));
            EXPECT_EQ(s.pointers,
                      (std::vector<ScriptPointer>{{0xC100 + step * static_cast<int>(k), format}}));
        }
    }
}

TEST(Extraction, ScriptsWrittenNeverReplaceAFileAndInsertBackByteForByte) {
    TempDir dir;
    const std::string scripts = dir.path().string(), pointerFile = dir.file("Demo.tpr.punteros");
    const PointerFormat format{2, ByteOrder::Little, AddressMap::Linear, 0, 0};
    std::vector<std::int64_t> offsets;
    const Bytes rom = romWithScripts(0x1000, 0x300, 0x100, 2, format, &offsets);
    const ExtractionRequest request{{{0x100, 4, 2, format}}, {}};
    const ThingyTable table = pointerTestTable();
    const Extraction found = extractScripts(rom, table, request);
    EXPECT_EQ(found.strayPointers, (std::vector<ScriptPointer>{{0x106, format}}))
        << "0xEEEE is past the ROM's end";
    writeBytes(scripts + "/306[5].txt", "ya estaba");

    const ExtractionWrite written =
        writeExtractedScripts(scripts, pointerFile, found, request, LegacyCodePage::Windows1252);
    EXPECT_EQ(written.written, (std::vector<std::string>{"300[6].txt", "30B[3].txt"}));
    EXPECT_EQ(written.skipped, (std::vector<std::string>{"306[5].txt"}));
    EXPECT_EQ(readBytes(scripts + "/306[5].txt"), "ya estaba");
    const PointerFileLoad load = loadPointerFile(pointerFile);
    EXPECT_EQ(load.file.tables, request.tables);
    EXPECT_EQ(load.file.pointersOf("306[5].txt"), (std::vector<ScriptPointer>{{0x102, format}}))
        << "the pointers of a script whose file was kept are recorded too";

    // The files written, taken as translations, insert the ROM's own bytes.
    std::filesystem::create_directories(scripts + "/Traducidos");
    for (const std::string& name : written.written)
        std::filesystem::copy_file(scripts + "/" + name, scripts + "/Traducidos/" + name);
    const InsertAllPlan plan = planInsertAll(scripts, LegacyCodePage::Windows1252,
                                             {table, table.longestTextLength(true), '<', '>'}, {});
    ASSERT_EQ(plan.scripts.size(), 2u);
    EXPECT_EQ(plan.scripts[0].bytes, knownScripts()[0].bytes);
    EXPECT_NE(plan.scripts[1].bytes, knownScripts()[2].bytes) << "the script that does not re-encode";
}

TEST(ScriptDecoder, StopsAtTheLimitAndUsesTheProjectsEnclosures) {
    const ThingyTable table = pointerTestTable();
    const ScriptDecoder decoder(table, U'{', U'}');
    const Bytes bytes = {0x30, 0x31, 0x2A, 0x99, 0xFF};
    EXPECT_EQ(decoder.decode(bytes, 99).text, "que{2A}{99}{END}") << "half a two-byte code is a raw byte";
    const DecodedScript cut = decoder.decode(bytes, 1);
    EXPECT_EQ(std::tuple(cut.text, cut.size, cut.ended), std::tuple(std::string("{30}"), 1u, false))
        << "a code is never cut by the limit";
}

} // namespace
} // namespace tradumar::testsupport
