// The search over a project of 10,000 scripts of 200 to 4,000 bytes, against
// `grep -rlF WORD FOLDER` on the same files in the same run. One word is in
// 1% of the scripts, the other in none.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <strings.h>
#include <vector>

#include "search/script_search.h"

namespace {

using namespace tradumar;

constexpr int kScripts = 10000;
const char* const kFrequentWord = "Zarandaja"; // in every hundredth script
const char* const kAbsentWord = "Quetzalcoatl";

// The project's scripts, written once into a temporary folder that goes at exit.
struct ScriptFolder {
    std::filesystem::path path;
    std::vector<std::string> names; // as the script list orders them

    ScriptFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tradumar-bench-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
        const char* const words[] = {"el",   "caballero", "abre", "la",     "puerta", "del",   "castillo",
                                     "<01>", "y",         "ve",   "un",     "cofre",  "lleno", "de",
                                     "oro,", "pero",      "Ayla", "duerme", "junto",  "al",    "fuego."};
        std::uint32_t state = 12345; // fixed: the same folder every run
        const auto next = [&state] { return state = state * 1664525u + 1013904223u; };
        for (int i = 0; i < kScripts; ++i) {
            const std::size_t size = 200 + next() % 3801;
            std::string text;
            while (text.size() < size) {
                text += words[next() % std::size(words)];
                text += next() % 8 == 0 ? "\r\n" : " ";
            }
            text.resize(size);
            if (i % 100 == 42)
                text.replace(size / 2, 9, kFrequentWord);
            char name[32];
            std::snprintf(name, sizeof name, "%06X[%zu].txt", 0x10000 + i * 0x100, size);
            names.emplace_back(name);
            std::ofstream(path / name, std::ios::binary) << text;
        }
        std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
            return ::strcasecmp(a.c_str(), b.c_str()) < 0;
        });
    }
    ~ScriptFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

const ScriptFolder& scripts() {
    static const ScriptFolder folder;
    return folder;
}

void core(benchmark::State& state, const char* word) {
    const ScriptFolder& folder = scripts();
    std::size_t hits = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(hits = searchScripts(folder.path.string(), folder.names, word).size());
    state.counters["hits"] = static_cast<double>(hits);
}

void grep(benchmark::State& state, const char* word) {
    const std::string command =
        "grep -rlF " + std::string(word) + " '" + scripts().path.string() + "' >/dev/null";
    for (auto _ : state)
        if (const int status = std::system(command.c_str()); status != 0 && status != 256)
            state.SkipWithError("grep failed");
}

const bool registered = [] {
    for (const auto& [label, word] : {std::pair{"hit", kFrequentWord}, std::pair{"none", kAbsentWord}}) {
        const std::string base = std::string("Search/") + label;
        benchmark::RegisterBenchmark((base + "/core").c_str(), core, word)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark((base + "/grep").c_str(), grep, word)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    return true;
}();

} // namespace
