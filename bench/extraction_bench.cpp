// Starting from the ROM and checking it: 10,000 scripts of 40 to 400 bytes
// behind a table of 4-byte GBA pointers in a 32 MB ROM, decoded with a table
// of letters, a line code, an end code and 256 two-byte pairs.
//   Extraction/readRom   reads the ROM file whole (the floor under the others);
//   Extraction/decode    reads the ROM and decodes every script through the table;
//   Extraction/write     writes the 10,000 script files and the pointer file;
//   Verification/project encodes 10,000 saved translations (half of them
//                        inserted) and compares them with the ROM, as
//                        "Comprobar la ROM" does.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

#include "common/file_io.h"
#include "pointers/script_extraction.h"
#include "pointers/verification.h"
#include "project/script_files.h"

namespace {

using namespace tradumar;

constexpr int kScripts = 10000;
constexpr std::int64_t kTableAt = 0x10000;
constexpr std::int64_t kScriptsAt = 0x100000;
const std::string kLetters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ .,!?";

std::string hexByte(int value) {
    static const char digits[] = "0123456789ABCDEF";
    return {digits[(value >> 4) & 15], digits[value & 15]};
}

struct Fixture {
    std::string folder =
        (std::filesystem::temp_directory_path() / ("tradumar-extraction-" + std::to_string(::getpid())))
            .string();
    std::string scripts = folder + "/scripts";
    std::string romPath = folder + "/game.gba";
    std::string projectFile = folder + "/Demo.tpr";
    ThingyTable table;
    Bytes rom;
    ExtractionRequest request;
    Extraction extraction;

    Fixture() {
        std::filesystem::create_directories(scripts + "/Traducidos");
        std::string file = "*FE\n/FF\n";
        for (const char c : kLetters)
            file += hexByte(static_cast<unsigned char>(c)) + "=" + c + "\n";
        for (int k = 0; k < 256; ++k)
            file +=
                "E0" + hexByte(k) + "=" + kLetters[k % 26] + kLetters[(k / 26) % 26] + kLetters[k % 7] + "\n";
        parseThingyTable(file, table, TableOverflow::Drop);

        std::mt19937 rng(10000);
        rom.assign(32u << 20, 0);
        const PointerFormat format{4, ByteOrder::Little, AddressMap::Linear, -0x08000000, 0};
        std::int64_t at = kScriptsAt;
        for (int s = 0; s < kScripts; ++s) {
            const Bytes pointer = format.write(*format.valueOf(at));
            std::copy(pointer.begin(), pointer.end(), rom.begin() + kTableAt + 4 * s);
            for (std::size_t n = 40 + rng() % 360; n > 0; --n) {
                const unsigned pick = rng() % 40;
                if (pick == 0)
                    rom[at++] = 0xFE;
                else if (pick < 4)
                    rom[at++] = 0xE0, rom[at++] = static_cast<std::uint8_t>(rng());
                else
                    rom[at++] = static_cast<std::uint8_t>(kLetters[rng() % kLetters.size()]);
            }
            rom[at++] = 0xFF;
        }
        writeFileAtomically(romPath, std::string(rom.begin(), rom.end()));
        writeFileAtomically(folder + "/original.tbl", file);
        request.tables.push_back({kTableAt, kScripts, 4, format});
        extraction = extractScripts(rom, table, request);
    }
    ~Fixture() { std::filesystem::remove_all(folder); }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

Bytes readRom(const std::string& path) {
    const std::optional<std::string> bytes = readWholeFile(path);
    return Bytes(bytes->begin(), bytes->end());
}

void ExtractionReadRom(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(readRom(f.romPath).size());
}
BENCHMARK(ExtractionReadRom)->Name("Extraction/readRom")->Unit(benchmark::kMillisecond);

void ExtractionDecode(benchmark::State& state) {
    Fixture& f = fixture();
    std::size_t found = 0;
    for (auto _ : state) {
        found = extractScripts(readRom(f.romPath), f.table, f.request).scripts.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["scripts"] = static_cast<double>(found);
}
BENCHMARK(ExtractionDecode)->Name("Extraction/decode")->Unit(benchmark::kMillisecond);

// Each round writes into a folder of its own and the folders go only after
// the last round: ext4 passes over inodes deleted in the last seconds when
// it makes new ones, so deleting 10,000 files right before writing 10,000
// would time the file system's reuse rule instead of a first extraction.
std::string freshFolder(const Fixture& f, const char* name, int round) {
    const std::string into = f.folder + "/" + name + "-" + std::to_string(round);
    std::filesystem::create_directories(into);
    return into;
}

void removeRounds(const Fixture& f, const char* name, int rounds) {
    for (int round = 1; round <= rounds; ++round)
        std::filesystem::remove_all(f.folder + "/" + name + "-" + std::to_string(round));
}

void ExtractionWrite(benchmark::State& state) {
    Fixture& f = fixture();
    std::size_t written = 0;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string into = freshFolder(f, "written", ++round);
        std::filesystem::remove(f.projectFile + ".punteros");
        state.ResumeTiming();
        written = writeExtractedScripts(into, f.projectFile + ".punteros", f.extraction, f.request,
                                        LegacyCodePage::Windows1252)
                      .written.size();
    }
    state.counters["scripts"] = static_cast<double>(written);
    removeRounds(f, "written", round);
}
BENCHMARK(ExtractionWrite)->Name("Extraction/write")->Unit(benchmark::kMillisecond)->Iterations(3);

// The same files written the plainest way (an ofstream each, no temporary
// name, no flush to the disk), in the same file system: what writing 10,000
// small files costs there at all.
void ExtractionPlainWrite(benchmark::State& state) {
    Fixture& f = fixture();
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string into = freshFolder(f, "plain", ++round);
        state.ResumeTiming();
        for (const ExtractedScript& script : f.extraction.scripts) {
            std::ofstream out(into + "/" + script.fileName(), std::ios::binary);
            out << textFileBytes(script.text, LegacyCodePage::Windows1252) << "\r\n";
        }
    }
    state.counters["scripts"] = static_cast<double>(f.extraction.scripts.size());
    removeRounds(f, "plain", round);
}
BENCHMARK(ExtractionPlainWrite)->Name("Extraction/plainWrite")->Unit(benchmark::kMillisecond)->Iterations(3);

void VerificationProject(benchmark::State& state) {
    Fixture& f = fixture();
    // The translations: the extracted texts, every other one changed so the
    // ROM does not hold it.
    for (std::size_t k = 0; k < f.extraction.scripts.size(); ++k) {
        const ExtractedScript& s = f.extraction.scripts[k];
        std::string text = s.text;
        if (k % 2 == 1)
            text[0] = text[0] == 'a' ? 'b' : 'a';
        writeFileAtomically(f.scripts + "/Traducidos/" + s.fileName(), text + "\r\n");
    }
    ProjectSettings settings;
    settings.projectFilePath = f.projectFile;
    settings.romPath = f.romPath;
    settings.scriptsFolder = f.scripts;
    const CodecContext encoder{f.table, f.table.longestTextLength(true), U'<', U'>'};
    std::size_t inserted = 0;
    for (auto _ : state) {
        const RomCheck check = checkProjectRom(settings, encoder);
        inserted = static_cast<std::size_t>(
            std::count_if(check.checks.begin(), check.checks.end(), [](const TranslationCheck& c) {
                return c.state == TranslationCheck::State::Inserted;
            }));
        benchmark::DoNotOptimize(inserted);
    }
    state.counters["insertadas"] = static_cast<double>(inserted);
}
BENCHMARK(VerificationProject)->Name("Verification/project")->Unit(benchmark::kMillisecond);

} // namespace
