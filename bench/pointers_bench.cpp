// Pointer search over a 32 MB ROM, and the shortest encoding of a
// 32767-character script against a 5000-entry DTE/MTE table, with the bytes
// it saves against the longest-first encoder.

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "encoding/optimal_codec.h"
#include "pointers/pointer_search.h"

namespace {

using namespace tradumar;

void PointerSearch(benchmark::State& state) {
    std::mt19937 rng(32);
    Bytes rom(32u << 20);
    for (auto& b : rom)
        b = static_cast<std::uint8_t>(rng());
    const PointerFormat format{3, ByteOrder::Little, AddressMap::LoRom, 0, 0};
    std::size_t found = 0;
    for (auto _ : state) {
        found = findPointerCandidates(rom, format, 0x123456).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["candidatos"] = static_cast<double>(found);
}
BENCHMARK(PointerSearch)->Unit(benchmark::kMillisecond);

std::string hex(int value, int digits) {
    static const char d[] = "0123456789ABCDEF";
    std::string out;
    for (int i = digits - 1; i >= 0; --i)
        out += d[(value >> (4 * i)) & 15];
    return out;
}

// Letters and punctuation in one byte, the 1500 commonest-looking Spanish
// pairs in one byte plus one, and whole syllables and words (3 to 8 letters)
// in two bytes, up to 5000 entries; the text is made of the same syllables.
struct Fixture {
    ThingyTable table;
    std::string text;
    Fixture() {
        std::mt19937 rng(5000);
        const std::string letters = "eaosrnidlctumpbgvyqhfzjñáéíóú";
        const std::vector<std::string> syllables = {
            "de",      "la",   "que",   "el",    "en",     "los",  "se",    "del",   "las",    "un",
            "por",     "con",  "no",    "una",   "su",     "para", "es",    "al",    "lo",     "como",
            "más",     "pero", "sus",   "le",    "ya",     "o",    "fue",   "este",  "ha",     "sí",
            "porque",  "esta", "son",   "entre", "cuando", "muy",  "sin",   "sobre", "ser",    "tiene",
            "también", "me",   "hasta", "hay",   "donde",  "han",  "quien", "están", "estado", "desde"};
        std::string file;
        int entries = 0;
        const auto add = [&](const std::string& code, const std::string& text) {
            file += code + "=" + text + "\n";
            ++entries;
        };
        int single = 0;
        for (const std::string& c : {std::string(" "), std::string("."), std::string(","), std::string("¿"),
                                     std::string("?"), std::string("!")})
            add(hex(single++, 2), c);
        for (std::size_t i = 0; i < letters.size();) {
            const std::size_t n = (static_cast<unsigned char>(letters[i]) & 0xE0) == 0xC0 ? 2 : 1;
            add(hex(single++, 2), letters.substr(i, n));
            i += n;
        }
        file += "*FE\n/FF\n";
        const std::string pairLetters = "eaosrnidlctu ";
        for (std::size_t a = 0; a < pairLetters.size(); ++a)
            for (std::size_t b = 0; b < pairLetters.size() && entries < 1500; ++b)
                add(hex(0x80 + entries % 0x60, 2) + hex(entries / 0x60, 2),
                    std::string{pairLetters[a], pairLetters[b]});
        for (const std::string& s : syllables)
            add("F0" + hex(entries, 4), s + " ");
        while (entries < ThingyTable::kCapacity) {
            std::string word = syllables[rng() % syllables.size()] + syllables[rng() % syllables.size()];
            add("F1" + hex(entries, 4), word.substr(0, std::min<std::size_t>(word.size(), 8)));
        }
        parseThingyTable(file, table, TableOverflow::Drop);
        while (characterCount(text) < 32767) {
            text += syllables[rng() % syllables.size()];
            text += rng() % 4 == 0 ? " " : rng() % 3 == 0 ? "s " : "";
        }
        while (characterCount(text) > 32767)
            text.pop_back();
        while (firstInvalidUtf8(text))
            text.pop_back();
    }
};

const Fixture& fixture() {
    static const Fixture f;
    return f;
}

void OptimalEncoding(benchmark::State& state) {
    const Fixture& f = fixture();
    const CodecContext context{f.table, f.table.longestTextLength(true)};
    const auto goOn = [](auto...) { return MissingAnswer::GoOn; };
    std::size_t fewest = 0;
    for (auto _ : state) {
        fewest = encodeOptimal(f.text, context, goOn).bytes.size();
        benchmark::DoNotOptimize(fewest);
    }
    const std::size_t longestFirst = encodeScript(f.text, context, goOn).bytes.size();
    state.counters["bytes_primero_largo"] = static_cast<double>(longestFirst);
    state.counters["bytes_optimos"] = static_cast<double>(fewest);
    state.counters["ahorro_pct"] =
        100.0 * static_cast<double>(longestFirst - fewest) / static_cast<double>(longestFirst);
}
BENCHMARK(OptimalEncoding)->Unit(benchmark::kMillisecond);

} // namespace
