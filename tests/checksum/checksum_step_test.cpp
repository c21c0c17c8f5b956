// The checksum set inside the journalled step: insertar, parche and deshacer run as
// child processes on ROMs of each console made here, and a step stopped
// halfway, checked against sums worked out below without the program's code.
#include <gtest/gtest.h>

#include <array>
#include <bit>

#include "checksum/rom_checksum.h"
#include "cli/cli_run.h"
#include "project/ini_profile.h"
#include "support/fixture_project.h"

namespace tradumar::testsupport {
namespace {

using namespace std::literals;

unsigned byteAt(const std::string& rom, std::size_t i) {
    return static_cast<unsigned char>(rom[i]);
}

std::string filler(std::size_t size) {
    std::string rom(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        rom[i] = static_cast<char>((i * 13 + i / 509) & 0xFF);
    return rom;
}

struct Console {
    const char* name;
    std::string rom;
    // The two numbers the header should hold after a change, and what it holds.
    std::array<unsigned, 2> (*expected)(const std::string& rom);
    std::array<unsigned, 2> (*held)(const std::string& rom);
};

// SNES, sizes a power of two: the 16-bit sum of the body with the four
// checksum bytes counted as 00 00 FF FF; the complement, then the sum.
std::string snes(std::size_t size, std::size_t header, char mode, bool copier) {
    std::string body = filler(size);
    body.replace(header, 21, "MAREA DE ÁMBAR  ★   "sv.substr(0, 21));
    body[header + 0x15] = mode;
    body[header + 0x17] = static_cast<char>(std::countr_zero(size / 1024)); // 2^n KB
    body.replace(header + 0x3C, 2, "\x00\x80"sv);
    return (copier ? std::string(512, '\0') : std::string()) + body;
}
template <std::size_t Fields>
std::array<unsigned, 2> snesExpected(const std::string& rom) {
    const std::size_t base = rom.size() % 1024 == 512 ? 512 : 0;
    unsigned sum = 0;
    for (std::size_t i = base; i < rom.size(); ++i) {
        const std::size_t in = i - base - Fields;
        sum += in < 2 ? 0 : in < 4 ? 0xFF : byteAt(rom, i);
    }
    return {(sum & 0xFFFF) ^ 0xFFFF, sum & 0xFFFF};
}
template <std::size_t Fields>
std::array<unsigned, 2> snesHeld(const std::string& rom) {
    const std::size_t at = (rom.size() % 1024 == 512 ? 512 : 0) + Fields;
    return {byteAt(rom, at) | byteAt(rom, at + 1) << 8, byteAt(rom, at + 2) | byteAt(rom, at + 3) << 8};
}

// Mega Drive: big-endian words from 0x200 to the end the header names.
std::string megaDrive() {
    std::string rom = filler(0x4000);
    rom.replace(0x100, 16, "SEGA GENESIS    ");
    rom.replace(0x1A4, 4, "\x00\x00\x3F\xFF"sv);
    return rom;
}
std::array<unsigned, 2> megaDriveExpected(const std::string& rom) {
    unsigned sum = 0;
    for (std::size_t i = 0x200; i + 1 < rom.size(); i += 2)
        sum += byteAt(rom, i) << 8 | byteAt(rom, i + 1);
    return {sum & 0xFFFF, 0};
}
std::array<unsigned, 2> megaDriveHeld(const std::string& rom) {
    return {byteAt(rom, 0x18E) << 8 | byteAt(rom, 0x18F), 0};
}

// Game Boy: the header checksum, then the global sum of all other bytes.
std::string gameBoy() {
    std::string rom = filler(0x8000);
    rom.replace(0x104, 4, "\xCE\xED\x66\x66"sv);
    rom.replace(0x134, 12, "CAÑÓN ROJO"sv);
    rom[0x148] = 0;
    return rom;
}
std::array<unsigned, 2> gameBoyExpected(const std::string& rom) {
    unsigned header = 0;
    for (std::size_t i = 0x134; i <= 0x14C; ++i)
        header = header - byteAt(rom, i) - 1;
    header &= 0xFF;
    unsigned global = header;
    for (std::size_t i = 0; i < rom.size(); ++i)
        global += i == 0x14D || i == 0x14E || i == 0x14F ? 0 : byteAt(rom, i);
    return {header, global & 0xFFFF};
}
std::array<unsigned, 2> gameBoyHeld(const std::string& rom) {
    return {byteAt(rom, 0x14D), byteAt(rom, 0x14E) << 8 | byteAt(rom, 0x14F)};
}

std::vector<Console> consoles() {
    return {{"LoROM", snes(0x10000, 0x7FC0, 0x20, false), snesExpected<0x7FDC>, snesHeld<0x7FDC>},
            {"LoROM con cabecera", snes(0x10000, 0x7FC0, 0x30, true), snesExpected<0x7FDC>,
             snesHeld<0x7FDC>},
            {"HiROM", snes(0x20000, 0xFFC0, 0x21, false), snesExpected<0xFFDC>, snesHeld<0xFFDC>},
            {"HiROM con cabecera", snes(0x20000, 0xFFC0, 0x31, true), snesExpected<0xFFDC>,
             snesHeld<0xFFDC>},
            {"Mega Drive", megaDrive(), megaDriveExpected, megaDriveHeld},
            {"Game Boy", gameBoy(), gameBoyExpected, gameBoyHeld}};
}

TEST(ChecksumStep, InsertarSetsItAndDeshacerPutsItBack) {
    for (const Console& c : consoles()) {
        FixtureProject p("Traducción");
        p.script("1000[6].txt", "Sword!");
        p.translation("1000[6].txt", "Espada");
        p.script("2400[5].txt", "Tower");
        p.translation("2400[5].txt", "Torre");
        writeBytes(p.romPath, c.rom);
        p.writeProjectFile();
        writeIniValue("Checksum", "FIX", "1", p.projectFile);

        Outcome run = cli(p.dir, {"insertar", p.projectFile});
        ASSERT_EQ(run.status, 0) << c.name << run.err;
        const std::string inserted = readBytes(p.romPath);
        EXPECT_EQ(inserted.substr(0x1000, 6), "Espada") << c.name;
        EXPECT_EQ(c.held(inserted), c.expected(inserted)) << c.name;
        EXPECT_NE(c.held(inserted), c.held(c.rom)) << c.name; // it did change
        EXPECT_EQ(run.err.find("suma de control"), std::string::npos) << c.name << run.err;

        // The patch reminds of a copier's header where the ROM has one.
        run = cli(p.dir, {"parche", p.projectFile, p.root + "/Marea.bps"});
        EXPECT_EQ(run.status, 0) << c.name << run.err;
        EXPECT_EQ(run.err.find(copierHeaderReminderText()) != std::string::npos,
                  std::string_view(c.name).ends_with("cabecera"))
            << c.name << run.err;

        run = cli(p.dir, {"deshacer", p.projectFile});
        EXPECT_EQ(run.out, "Se restauraron 11 bytes en 2 scripts.\n") << c.name;
        EXPECT_EQ(readBytes(p.romPath), c.rom) << c.name;
    }
}

TEST(ChecksumStep, AnUnknownRomIsToldOnceAndStillWritten) {
    FixtureProject p;
    p.script("08[4].txt", "Text");
    p.translation("08[4].txt", "Hola");
    p.script("10[4].txt", "Text");
    p.translation("10[4].txt", "Café");
    writeBytes(p.romPath, std::string(64, '.'));
    p.writeProjectFile();
    writeIniValue("Checksum", "FIX", "1", p.projectFile);
    const Outcome run = cli(p.dir, {"insertar", p.projectFile});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readBytes(p.romPath), std::string(8, '.') + "Hola...." + "Caf\xE9" + std::string(44, '.'));
    const std::string told = unrecognisedChecksumText();
    const std::size_t first = run.err.find(told);
    EXPECT_NE(first, std::string::npos) << run.err;
    EXPECT_EQ(run.err.find(told, first + 1), std::string::npos) << run.err;
}

// A stop after the first script keeps it with the checksum of what was
// written, not the one worked out for every script; undo restores both.
TEST(ChecksumStep, AStoppedStepGetsTheChecksumOfTheScriptsWritten) {
    TempDir dir;
    const std::string rom = dir.file("cañón.gb");
    const std::string before = gameBoy();
    writeBytes(rom, before);
    ProjectFiles files{rom, dir.file("Isla.tpr.inserciones"), {}, true};
    FileOps ops;
    const std::vector<RomWrite> writes{{"300[3].txt", 0x300, {0xE1, 0xE9, 0xF1}},
                                       {"400[2].txt", 0x400, {'S', 'i'}}};
    const StepOutcome step =
        writeStep(files, writes, [](std::size_t done, std::size_t) { return done < 1; }, ops, 0);
    EXPECT_TRUE(step.cancelled);
    EXPECT_EQ(step.written, 1u);
    const std::string after = readBytes(rom);
    EXPECT_EQ(after.substr(0x300, 3), "\xE1\xE9\xF1");
    EXPECT_EQ(after.substr(0x400, 2), before.substr(0x400, 2));
    EXPECT_EQ(gameBoyHeld(after), gameBoyExpected(after));

    const UndoOutcome undo = undoLastStep(files, ops);
    EXPECT_EQ(undo.kind, UndoOutcome::Kind::Undone);
    EXPECT_EQ(undo.scripts, 1u);
    EXPECT_EQ(readBytes(rom), before);
}

} // namespace
} // namespace tradumar::testsupport
