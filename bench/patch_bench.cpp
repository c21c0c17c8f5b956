// Exporting the translation as a patch: the whole ROM and its untouched copy
// read from disk, compared, encoded and written, with 10,000 changed ranges.
// BPS on a 32 MiB ROM; IPS on a 16 MiB one, the most the format addresses.

#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "patching/patch_export.h"
#include "support/temp_dir.h"

namespace {

using namespace tradumar;

struct Roms {
    testsupport::TempDir dir;
    std::string original = dir.file("game.smc.original");
    std::string rom = dir.file("game.smc");

    explicit Roms(std::size_t size) {
        std::mt19937 random(7);
        std::string bytes(size, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random());
        testsupport::writeBytes(original, bytes);
        for (int range = 0; range < 10000; ++range) {
            const std::size_t at = random() % (size - 256);
            const std::size_t length = 1 + random() % 200; // a translated script
            for (std::size_t k = 0; k < length; ++k)
                bytes[at + k] = static_cast<char>(random());
        }
        testsupport::writeBytes(rom, bytes);
    }
};

void PatchExport(benchmark::State& state, const char* name, std::size_t size) {
    const Roms roms(size);
    const std::string patch = roms.dir.file(name);
    tradumar::PatchExport outcome;
    for (auto _ : state) {
        outcome = exportPatch(roms.original, roms.rom, patch);
        benchmark::DoNotOptimize(outcome);
    }
    if (outcome.status != tradumar::PatchExport::Status::Written)
        state.SkipWithError("the patch was not written");
    state.counters["patch_bytes"] = static_cast<double>(outcome.patchSize);
    state.counters["changed_bytes"] = static_cast<double>(outcome.changedBytes);
}
BENCHMARK_CAPTURE(PatchExport, bps_32MiB, "parche.bps", std::size_t{32} << 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PatchExport, ips_16MiB, "parche.ips", std::size_t{16} << 20)->Unit(benchmark::kMillisecond);

} // namespace
