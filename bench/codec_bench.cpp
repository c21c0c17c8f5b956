// The byte counter, the encoder and table loading on a full-size case: a
// 32767-character script against a 5000-entry table whose longest text is 8.
// Every case runs the indexed code and the plain walk it replaces; the
// walk's name ends in "/walk", the indexed one's in "/indexed".

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "../fuzz/reference_walk.h"
#include "common/file_io.h"
#include "encoding/script_codec.h"
#include "encoding/thingy_table.h"

namespace {

using namespace tradumar;

std::string hexByte(int value) {
    static const char digits[] = "0123456789ABCDEF";
    return {digits[(value >> 4) & 15], digits[value & 15]};
}

// A realistic table file: letters, digits and punctuation, accented letters,
// DTE pairs and whole words (up to 8 characters), a line code and an end code.
std::string tableFile() {
    std::mt19937 rng(5000);
    std::string out;
    int entries = 0;
    auto add = [&](const std::string& code, const std::string& text) {
        out += code + "=" + text + "\r\n";
        ++entries;
    };
    const std::string ascii = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .,;:!?'-";
    std::vector<std::string> singles;
    for (const char c : ascii)
        singles.emplace_back(1, c);
    for (const char* symbol : {"á", "é", "í", "ó", "ú", "ñ", "Á", "É", "Í", "Ó", "Ú", "Ñ", "¿",
                               "¡", "♪", "①", "α", "Ω", "└", "─", "┘", "│", "▶", "▽", "　"})
        singles.emplace_back(symbol);
    for (std::size_t i = 0; i < singles.size(); ++i)
        add(hexByte(static_cast<int>(i)), singles[i]);
    out += "*FE\r\n/FF\r\n";
    entries += 2;
    const std::string letters = "etaoinshrdlucmfwypvbgk";
    for (std::size_t a = 0; a < letters.size() && entries < 1500; ++a)
        for (std::size_t b = 0; b < letters.size() && entries < 1500; ++b)
            add(hexByte(0x80 + entries % 0x70) + hexByte(entries / 0x70),
                std::string{letters[a], letters[b]});
    while (entries < ThingyTable::kCapacity) {
        std::string word;
        const std::size_t length = 3 + rng() % 6;
        for (std::size_t i = 0; i < length; ++i)
            word += letters[rng() % letters.size()];
        add("F0" + hexByte(entries >> 8) + hexByte(entries & 0xFF), word);
    }
    return out;
}

ThingyTable loadedTable() {
    ThingyTable table;
    parseThingyTable(tableFile(), table, TableOverflow::Drop);
    return table;
}

// Prose made of the table's words and letters, with line breaks, raw blocks,
// accented letters and symbols: 32767 characters.
std::string realisticScript() {
    std::mt19937 rng(32767);
    const std::string letters = "etaoinshrdlucmfwypvbgk";
    std::string text;
    std::size_t characters = 0;
    const auto add = [&](std::string_view piece, std::size_t length) {
        text += piece;
        characters += length;
    };
    while (characters < 32767) {
        const int kind = static_cast<int>(rng() % 20);
        if (kind == 0)
            add("\r\n", 2);
        else if (kind == 1)
            add("<0A>", 4);
        else if (kind == 2)
            add("é", 1);
        else if (kind == 3)
            add("♪", 1);
        else {
            const std::size_t length = 2 + rng() % 7;
            for (std::size_t i = 0; i < length; ++i)
                add(std::string(1, letters[rng() % letters.size()]), 1);
            add(" ", 1);
        }
    }
    while (characters > 32767) { // back to a whole character
        while ((static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
            text.pop_back();
        text.pop_back();
        --characters;
    }
    return text;
}

// Characters no entry holds: every length fails at every position.
std::string unmatchedScript() {
    return std::string(32767, '~');
}

const ThingyTable& table() {
    static const ThingyTable t = loadedTable();
    return t;
}

const std::string& script(int which) {
    static const std::string realistic = realisticScript();
    static const std::string unmatched = unmatchedScript();
    return which == 0 ? realistic : unmatched;
}

MissingHandler goOn() {
    return [](char, int, int) { return MissingAnswer::GoOn; };
}

template <int which> void countIndexed(benchmark::State& state) {
    const CodecContext context{table(), table().longestTextLength(false), '<', '>'};
    const std::string& text = script(which);
    for (auto _ : state)
        benchmark::DoNotOptimize(countTranslatedBytes(text, context));
}

template <int which> void countWalk(benchmark::State& state) {
    const CodecContext context{table(), table().longestTextLength(false), '<', '>'};
    const std::string& text = script(which);
    for (auto _ : state)
        benchmark::DoNotOptimize(reference::count(text, context));
}

template <int which> void encodeIndexed(benchmark::State& state) {
    const CodecContext context{table(), table().longestTextLength(true), '<', '>'};
    const std::string& text = script(which);
    for (auto _ : state)
        benchmark::DoNotOptimize(encodeScript(text, context, goOn()));
}

template <int which> void encodeWalk(benchmark::State& state) {
    const CodecContext context{table(), table().longestTextLength(true), '<', '>'};
    const std::string& text = script(which);
    for (auto _ : state)
        benchmark::DoNotOptimize(reference::encode(text, context, goOn()));
}

// Loading reads and parses the file; the indexed table also builds its index
// (the first lookup does), which the walk never needs.
void loadIndexed(benchmark::State& state) {
    const std::string path = "/tmp/tradumar-bench-" + std::to_string(::getpid()) + ".tbl";
    writeFileAtomically(path, tableFile());
    for (auto _ : state) {
        ThingyTable t;
        loadThingyTable(path, t, TableOverflow::Drop);
        benchmark::DoNotOptimize(t.find("e"));
    }
    std::remove(path.c_str());
}

void loadWalk(benchmark::State& state) {
    const std::string path = "/tmp/tradumar-bench-" + std::to_string(::getpid()) + ".tbl";
    writeFileAtomically(path, tableFile());
    for (auto _ : state) {
        ThingyTable t;
        loadThingyTable(path, t, TableOverflow::Drop);
        benchmark::DoNotOptimize(reference::walkFind(t, "e"));
    }
    std::remove(path.c_str());
}

} // namespace

BENCHMARK(countIndexed<0>)->Name("Count/realistic/indexed")->Unit(benchmark::kMicrosecond);
BENCHMARK(countWalk<0>)->Name("Count/realistic/walk")->Unit(benchmark::kMicrosecond);
BENCHMARK(countIndexed<1>)->Name("Count/unmatched/indexed")->Unit(benchmark::kMicrosecond);
BENCHMARK(countWalk<1>)->Name("Count/unmatched/walk")->Unit(benchmark::kMicrosecond)->Iterations(2);
BENCHMARK(encodeIndexed<0>)->Name("Encode/realistic/indexed")->Unit(benchmark::kMicrosecond);
BENCHMARK(encodeWalk<0>)->Name("Encode/realistic/walk")->Unit(benchmark::kMicrosecond);
BENCHMARK(encodeIndexed<1>)->Name("Encode/unmatched/indexed")->Unit(benchmark::kMicrosecond);
BENCHMARK(encodeWalk<1>)->Name("Encode/unmatched/walk")->Unit(benchmark::kMicrosecond)->Iterations(2);
BENCHMARK(loadIndexed)->Name("Load/5000/indexed")->Unit(benchmark::kMicrosecond);
BENCHMARK(loadWalk)->Name("Load/5000/walk")->Unit(benchmark::kMicrosecond);
