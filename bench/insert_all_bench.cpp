// Inserting every saved translation at once, and undoing it: 10,000
// translations of 50 to 2,000 characters, a 5,000-entry table, a 32 MB ROM,
// real files in a temporary folder. InsertAll/plan reads and encodes every
// translation, InsertAll/write writes them as one journalled step (journal
// flushed before and after, ROM flushed), InsertAll/undo takes the step back.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

#include "common/file_io.h"
#include "insertion/insert_all.h"
#include "insertion/insertion_journal.h"
#include "pointers/relocation.h"

namespace {

using namespace tradumar;

constexpr int kScripts = 10000;
constexpr std::int64_t kStride = 3200;
const std::string kLetters = "etaoinshrdlucmfwypvbgk";

std::string hexByte(int value) {
    static const char digits[] = "0123456789ABCDEF";
    return {digits[(value >> 4) & 15], digits[value & 15]};
}

// Single characters, a line code and an end code, letter pairs, then words up
// to 8 letters until the table is full.
std::string tableFile() {
    std::mt19937 rng(5000);
    std::string out = "*FE\r\n/FF\r\n";
    int entries = 2;
    const std::string singles =
        kLetters + "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,;:!?'-";
    for (const char c : singles)
        out += hexByte(entries++) + "=" + c + "\r\n";
    for (const char a : kLetters)
        for (const char b : kLetters)
            out += hexByte(0xE0 + (entries >> 8)) + hexByte(entries & 0xFF) + "=" + a + b + "\r\n", ++entries;
    for (; entries < ThingyTable::kCapacity; ++entries) {
        std::string word;
        for (std::size_t i = 0, n = 3 + rng() % 6; i < n; ++i)
            word += kLetters[rng() % kLetters.size()];
        out += "F0" + hexByte(entries >> 8) + hexByte(entries & 0xFF) + "=" + word + "\r\n";
    }
    return out;
}

// A project's scripts folder with 10,000 saved translations, and its ROM.
struct Fixture {
    std::string folder =
        (std::filesystem::temp_directory_path() / ("tradumar-insert-all-" + std::to_string(::getpid())))
            .string();
    std::string rom = folder + "/game.smc";
    std::string journal = folder + "/Demo.tpr.inserciones";
    ProjectFiles files{rom, journal, {}};
    ThingyTable table;
    FileOps ops;

    Fixture() {
        std::filesystem::create_directories(folder + "/Traducidos");
        parseThingyTable(tableFile(), table, TableOverflow::Drop);
        writeFileAtomically(rom, std::string(32 * 1024 * 1024, '\x55'));
        std::mt19937 rng(10000);
        for (int i = 0; i < kScripts; ++i) {
            std::string text;
            const std::size_t length = 50 + rng() % 1951;
            while (text.size() < length) {
                text += rng() % 12 == 0 ? std::string("\r\n") : std::string(1, ' ');
                for (std::size_t k = 0, n = 2 + rng() % 7; k < n; ++k)
                    text += kLetters[rng() % kLetters.size()];
            }
            text.resize(length);
            char name[32];
            std::snprintf(name, sizeof name, "%llX[3000].txt", static_cast<unsigned long long>(i * kStride));
            writeFileAtomically(folder + "/Traducidos/" + name, text);
        }
    }
    ~Fixture() { std::filesystem::remove_all(folder); }

    CodecContext context() const { return {table, table.longestTextLength(true), '<', '>'}; }
    InsertAllPlan plan() const { return planInsertAll(folder, LegacyCodePage::Windows1252, context(), {}); }
    StepOutcome write(const InsertAllPlan& plan) { return writeStep(files, plan.writes(true), {}, ops, 0); }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void plan(benchmark::State& state) {
    const Fixture& f = fixture(); // made once, outside the timing
    for (auto _ : state) {
        const InsertAllPlan p = f.plan();
        if (p.writes(false).size() != kScripts)
            state.SkipWithError("not every script fits");
    }
}

void write(benchmark::State& state) {
    Fixture& f = fixture();
    const InsertAllPlan p = f.plan();
    for (auto _ : state) {
        if (f.write(p).written != kScripts)
            state.SkipWithError("the step was not written whole");
        state.PauseTiming();
        undoLastStep(f.files, f.ops);
        state.ResumeTiming();
    }
}

void undo(benchmark::State& state) {
    Fixture& f = fixture();
    const InsertAllPlan p = f.plan();
    for (auto _ : state) {
        state.PauseTiming();
        f.write(p);
        state.ResumeTiming();
        if (undoLastStep(f.files, f.ops).scripts != kScripts)
            state.SkipWithError("the step was not undone");
    }
}

// The same 10,000 translations in a 40 MB ROM whose every fifth script has
// outgrown its 3,000 bytes (3,100) and has a 4-byte pointer; free space from
// 0x1F00000 to the end. InsertAll/relocate places and writes them all, the
// 2,000 long ones moved (bytes, pointer, filler); InsertAll/inPlace is the
// same insertion with the long ones written where they are.
struct Relocating {
    Fixture& base = fixture();
    std::string rom = base.folder + "/reloc.smc";
    std::string pointerPath = base.folder + "/Demo.tpr.punteros";
    ProjectFiles files{rom, base.folder + "/Reloc.tpr.inserciones", {}};
    InsertAllPlan plan = base.plan();
    PointerFile pointers;
    std::vector<std::string> names;

    Relocating() {
        std::string image(40u << 20, '\x55');
        const PointerFormat format{4, ByteOrder::Little, AddressMap::Linear, 0, 0};
        for (std::size_t i = 0; i < plan.scripts.size(); ++i) {
            names.push_back(plan.scripts[i].fileName);
            if (i % 5 != 0)
                continue;
            plan.scripts[i].bytes.resize(3100, 0x20);
            const std::int64_t at = 32000000 + static_cast<std::int64_t>(i / 5) * 4;
            const Bytes value = format.write(static_cast<std::uint64_t>(plan.scripts[i].offset));
            std::copy(value.begin(), value.end(), image.begin() + at);
            pointers.addPointers(plan.scripts[i].fileName, {{at, format}});
        }
        pointers.freeRanges = {{0x1F00000, (40 << 20) - 1}};
        writeFileAtomically(rom, image);
    }
    void run(benchmark::State& state, bool relocate) {
        for (auto _ : state) {
            PointerFile file = pointers;
            const std::vector<Placement> placements = planPlacements(plan, file, romBytes(), names, relocate);
            std::size_t moved = 0;
            for (const Placement& p : placements)
                moved += p.kind == Placement::Kind::Move;
            if (moved != (relocate ? 2000u : 0u))
                state.SkipWithError("the long scripts were not placed as expected");
            if (writePlacements(files, pointerPath, file, placements, {}, base.ops, 0).error != 0)
                state.SkipWithError("the step was not written");
            state.PauseTiming();
            undoLastStep(files, base.ops);
            state.ResumeTiming();
            state.counters["reubicados"] = static_cast<double>(moved);
        }
    }
    Bytes romBytes() const {
        const std::optional<std::string> bytes = readWholeFile(rom);
        return bytes ? Bytes(bytes->begin(), bytes->end()) : Bytes();
    }
};

Relocating& relocating() {
    static Relocating r;
    return r;
}

void relocate(benchmark::State& state) {
    relocating().run(state, true);
}

void inPlace(benchmark::State& state) {
    relocating().run(state, false);
}

} // namespace

BENCHMARK(relocate)->Name("InsertAll/relocate")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(inPlace)->Name("InsertAll/inPlace")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(plan)->Name("InsertAll/plan")->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(write)->Name("InsertAll/write")->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(undo)->Name("InsertAll/undo")->Unit(benchmark::kMillisecond)->Iterations(5);
