// The spell check of a 32767-character Spanish script (UTF-8) against the real
// Hunspell dictionary: words taken from the dictionary, 5% of them
// misspelled, a raw block every seven words. The first check of a run asks
// the dictionary about every distinct word; a later one (the underlining
// has seen the words, or the translator checks again) finds them answered.
// Then one suggestion request, as the suggestions dialog makes it.

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

#include "encoding/unicode_text.h"
#include "spellcheck/hunspell_speller.h"
#include "spellcheck/project_words.h"
#include "spellcheck/word_splitter.h"

namespace {

using namespace tradumar;

// Every 40th plain lowercase word of the dictionary (a to z, and the
// accented letters the dictionary writes with a C3 lead byte), in UTF-8.
std::vector<std::string> dictionaryWords() {
    std::ifstream in("/usr/share/hunspell/es_ES.dic", std::ios::binary);
    std::vector<std::string> words;
    std::string line;
    for (int n = 0; std::getline(in, line); ++n) {
        const std::string stem = line.substr(0, line.find('/'));
        std::string word;
        bool plain = stem.size() >= 3;
        for (std::size_t i = 0; plain && i < stem.size(); ++i) {
            const auto c = static_cast<unsigned char>(stem[i]);
            if (c >= 'a' && c <= 'z') {
                word += static_cast<char>(c);
            } else if (c == 0xC3 && i + 1 < stem.size()) { // á é í ó ú ñ ü
                word += stem.substr(i, 2);
                ++i;
            } else {
                plain = false;
            }
        }
        if (plain && n % 40 == 0)
            words.push_back(word);
    }
    return words;
}

// 32767 characters of Spanish text.
std::string spanishScript() {
    const std::vector<std::string> words = dictionaryWords();
    std::string text;
    std::size_t lineLength = 0;
    for (std::size_t i = 0; characterCount(text) < 32767; ++i) {
        std::string word = words[(i * 7919) % words.size()];
        if (i % 20 == 7) // one word in twenty misspelled, after its first letter
            word.insert(utf8SequenceLength(static_cast<unsigned char>(word[0])), "k");
        text += word;
        text += i % 7 == 6 ? "<01>" : " ";
        lineLength += word.size() + 1;
        if (lineLength > 40) {
            text += "\r\n";
            lineLength = 0;
        }
    }
    std::size_t end = 0;
    for (std::size_t n = 0; n < 32767; ++n)
        end += utf8SequenceLength(static_cast<unsigned char>(text[end]));
    text.resize(end);
    return text;
}

HunspellSpeller& speller() {
    static HunspellSpeller loaded;
    loaded.load();
    return loaded;
}

void SpellCheckWholeScript(benchmark::State& state) {
    const bool first = state.range(0) == 1;
    const std::string text = spanishScript();
    HunspellSpeller& dictionary = speller();
    const ProjectWords none;
    std::size_t misspelled = 0;
    for (auto _ : state) {
        if (first)
            dictionary.forgetAnswers();
        misspelled = findMisspellings(text, {}, dictionary, none).size();
        benchmark::DoNotOptimize(misspelled);
    }
    state.SetLabel(first ? "first check" : "checked again");
    state.counters["misspelled"] = static_cast<double>(misspelled);
}
BENCHMARK(SpellCheckWholeScript)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void SpellCheckSuggestion(benchmark::State& state) {
    static const char* const words[] = {"cueba", "desarroyando", "ortografia"};
    const char* word = words[state.range(0)];
    HunspellSpeller& dictionary = speller();
    for (auto _ : state)
        benchmark::DoNotOptimize(dictionary.suggest(word));
    state.SetLabel(word);
}
BENCHMARK(SpellCheckSuggestion)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

} // namespace
