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

} // namespace

BENCHMARK(plan)->Name("InsertAll/plan")->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(write)->Name("InsertAll/write")->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(undo)->Name("InsertAll/undo")->Unit(benchmark::kMillisecond)->Iterations(5);
