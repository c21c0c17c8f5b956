// The word splitter, the project word list and the checker against the real
// Spanish Hunspell dictionary. Text is Windows-1252: \xF1 is ñ, \xFC ü.
#include <gtest/gtest.h>

#include <filesystem>

#include "spellcheck/hunspell_speller.h"
#include "spellcheck/project_words.h"
#include "spellcheck/word_splitter.h"
#include "support/temp_dir.h"

namespace tradumar::testsupport {
namespace {

using Words = std::vector<std::string>;

Words wordsOf(std::string_view line, Enclosures enclosures = {}) {
    Words words;
    for (const WordSpan& span : splitWords(line, enclosures))
        words.emplace_back(line.substr(span.start, span.length));
    return words;
}

TEST(WordSplitter, WordsOfALine) {
    const struct {
        std::string line;
        Enclosures enclosures;
        Words words;
    } rows[] = {
        {"Hola, mundo.", {}, {"Hola", "mundo"}},
        {"a\xF1o ping\xFCino \xD1\x61nd\xFA", {}, {"a\xF1o", "ping\xFCino", "\xD1\x61nd\xFA"}},
        {"vete<01>ya<END>", {}, {"vete", "ya"}},
        {"ab<cd", {}, {"ab", "cd"}},
        {"3 gatos 2x abc123 1.000", {}, {"gatos"}},
        {"bien-estar l'agua -x y- a--b", {}, {"bien-estar", "l'agua", "x", "y", "a", "b"}},
        {"[01]hola<b>[END]", {'[', ']'}, {"hola", "b"}},
        {"x\xD7y\xF7z", {}, {"x", "y", "z"}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(wordsOf(row.line, row.enclosures), row.words) << row.line;
}

TEST(WordSplitter, WholeWordOccurrencesAreCaseSensitiveAndOutsideRawBlocks) {
    const struct {
        std::string line, word;
        std::vector<std::size_t> at;
    } rows[] = {
        {"cas casado cas", "cas", {0, 11}},
        {"Bueno bueno", "bueno", {6}},
        {"cas<cas>cas", "cas", {0, 8}},
        {"cas-cas cas3 pcas", "cas", {0, 4}},
        {"", "cas", {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(wholeWordOccurrences(row.line, row.word, {}), row.at) << row.line;
}

TEST(ProjectWordList, ParsesAndWritesOneWordALine) {
    EXPECT_EQ(parseWordList("Zelda\r\n  Hyrule \r\rLink\nZelda\n\xD1u"),
              (Words{"Zelda", "Hyrule", "Link", "\xD1u"}));
    EXPECT_EQ(formatWordList({"Zelda", "\xD1u"}), "Zelda\r\n\xD1u\r\n");
    EXPECT_EQ(wordListPathFor("/p/Demo.tpr"), "/p/Demo.palabras.txt");
    EXPECT_EQ(wordListPathFor("/p.d/Demo"), "/p.d/Demo.palabras.txt");
    EXPECT_EQ(wordListPathFor(""), "");

    TempDir dir;
    ProjectWords words;
    words.load(dir.file("Demo.tpr"));
    EXPECT_EQ(words.add("Zelda"), 0);
    EXPECT_EQ(words.add("\xD1u"), 0);
    EXPECT_EQ(readBytes(dir.file("Demo.palabras.txt")), "Zelda\r\n\xD1u\r\n");
    ProjectWords again;
    again.follow(dir.file("Demo.tpr"));
    EXPECT_TRUE(again.contains("Zelda") && again.contains("\xD1u") && !again.contains("zelda"));
    // Two copies of the program add a word each: neither word is lost.
    EXPECT_EQ(again.add("Link"), 0);
    EXPECT_EQ(words.add("Hyrule"), 0);
    EXPECT_EQ(readBytes(dir.file("Demo.palabras.txt")), "Zelda\r\n\xD1u\r\nLink\r\nHyrule\r\n");
    ProjectWords none;
    none.load("");
    EXPECT_NE(none.add("Zelda"), 0);
}

TEST(HunspellSpeller, ChecksAndSuggestsWithTheSpanishDictionary) {
    HunspellSpeller speller;
    ASSERT_EQ(speller.load(), DictionaryStatus::Loaded);
    EXPECT_TRUE(speller.affixPath().ends_with("es_ES.aff"));
    for (const char* word : {"canci\xF3n", "verg\xFC\x65nza", "a\xF1os", "casa"})
        EXPECT_TRUE(speller.check(word)) << word;
    for (const char* word : {"cueba", "kasa", "xyzzy"})
        EXPECT_FALSE(speller.check(word)) << word;
    // Suggestions come back in Windows-1252, accents included.
    for (const auto& [word, expected] : {std::pair{"cueba", "cueva"}, {"cancion", "canci\xF3n"}}) {
        const Words suggestions = speller.suggest(word);
        EXPECT_NE(std::find(suggestions.begin(), suggestions.end(), expected), suggestions.end()) << word;
    }
}

TEST(HunspellSpeller, FindsTheDictionaryOrSaysWhy) {
    TempDir dir;
    const auto folder = [&](const char* name, std::initializer_list<const char*> variants) {
        const std::filesystem::path path = dir.path() / name;
        std::filesystem::create_directory(path);
        for (const char* variant : variants)
            for (const char* extension : {".aff", ".dic"})
                std::filesystem::create_symlink(std::string("/usr/share/hunspell/") + variant + extension,
                                                path / (std::string(variant) + extension));
        return path.string();
    };
    const std::string empty = folder("empty", {});
    const std::string variants = folder("variants", {"es_MX", "es_AR"});
    const std::string both = folder("both", {"es_AR", "es_ES"});
    // A dictionary that cannot be read is the window test's.

    const struct {
        std::vector<std::string> folders;
        DictionaryStatus status;
        const char* affix;
    } rows[] = {
        {{empty, dir.file("nowhere")}, DictionaryStatus::Missing, ""},
        {{empty, variants}, DictionaryStatus::Loaded, "es_AR.aff"},
        {{variants, both}, DictionaryStatus::Loaded, "es_ES.aff"},
    };
    for (const auto& row : rows) {
        HunspellSpeller speller(row.folders);
        EXPECT_EQ(speller.load(), row.status) << row.folders.back();
        EXPECT_TRUE(speller.affixPath().ends_with(row.affix)) << speller.affixPath();
        EXPECT_EQ(speller.check("casa"), row.status == DictionaryStatus::Loaded);
    }
}

} // namespace
} // namespace tradumar::testsupport
