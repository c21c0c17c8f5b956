// The word splitter, the project word list and the checker against the real
// Spanish Hunspell dictionary. Text is UTF-8.
#include <gtest/gtest.h>

#include <filesystem>

#include "encoding/unicode_text.h"
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
        {"año pingüino Ñandú", {}, {"año", "pingüino", "Ñandú"}},
        {"vete<01>ya<END>", {}, {"vete", "ya"}},
        {"ab<cd", {}, {"ab", "cd"}},
        {"3 gatos 2x abc123 1.000 ab１２", {}, {"gatos"}},
        {"bien-estar l'agua l’eau -x y- a--b", {}, {"bien-estar", "l'agua", "l’eau", "x", "y", "a", "b"}},
        {"[01]hola<b>[END]", {U'[', U']'}, {"hola", "b"}},
        {"【01】ヴァル【名】の", {U'【', U'】'}, {"ヴァル", "の"}},
        {"x×y÷z ♪①α└▶Ω", {}, {"x", "y", "z", "α", "Ω"}},
        {"Łódź αλφα-βήτα Жар", {}, {"Łódź", "αλφα-βήτα", "Жар"}},
        {"cafe\u0301 \u0301x", {}, {"cafe\u0301", "x"}},
        {"ab\xFF"
         "cd \xC3",
         {},
         {"ab", "cd"}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(wordsOf(row.line, row.enclosures), row.words) << row.line;

    // Spans are byte offsets: after "𝄞♪ " (4 + 3 + 1 bytes) "αβ" takes 4.
    EXPECT_EQ(splitWords("𝄞♪ αβ", {}), std::vector<WordSpan>{(WordSpan{8, 4})});
}

TEST(WordSplitter, WholeWordOccurrencesAreCaseSensitiveAndOutsideRawBlocks) {
    const struct {
        std::string line, word;
        std::vector<std::size_t> at;
        Enclosures enclosures = {};
    } rows[] = {
        {"cas casado cas", "cas", {0, 11}},
        {"Bueno bueno", "bueno", {6}},
        {"cas<cas>cas", "cas", {0, 8}},
        {"cas-cas cas3 pcas", "cas", {0, 4}},
        {"", "cas", {}},
        {"♪Łódź Łódźka ñŁódź", "Łódź", {3}},
        {"【ab】ab", "ab", {8}, {U'【', U'】'}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(wholeWordOccurrences(row.line, row.word, row.enclosures), row.at) << row.line;
}

TEST(ProjectWordList, ParsesWritesAndReadsBackInEitherEncoding) {
    EXPECT_EQ(parseWordList("Zelda\r\n  Hyrule \r\rLink\nZelda\nÑu"),
              (Words{"Zelda", "Hyrule", "Link", "Ñu"}));
    EXPECT_EQ(wordListPathFor("/p/Demo.tpr"), "/p/Demo.palabras.txt");
    EXPECT_EQ(wordListPathFor("/p.d/Demo"), "/p.d/Demo.palabras.txt");
    EXPECT_EQ(wordListPathFor(""), "");
    EXPECT_EQ(wordListPathFor("/p/Mi.juego.v2.tpr"), "/p/Mi.juego.v2.palabras.txt"); // only the last dot

    // A project in a folder with accents: the list is a UTF-8 name next to it.
    TempDir dir;
    const std::filesystem::path folder = dir.path() / "Traducción";
    std::filesystem::create_directory(folder);
    const std::string project = (folder / "Traducción PA.tpr").string();
    const std::string list = (folder / "Traducción PA.palabras.txt").string();
    ProjectWords words;
    words.load(project);
    EXPECT_EQ(words.add("Zelda"), 0);
    EXPECT_EQ(words.add("Ñu"), 0);
    EXPECT_EQ(readBytes(list), "Zelda\r\n\xD1u\r\n"); // every word fits Windows-1252: it stays so
    EXPECT_EQ(words.add("Łukasz"), 0);
    EXPECT_EQ(readBytes(list), "\xEF\xBB\xBFZelda\r\nÑu\r\nŁukasz\r\n");
    ProjectWords again;
    again.follow(project);
    EXPECT_TRUE(again.contains("Zelda") && again.contains("Ñu") && again.contains("Łukasz"));
    EXPECT_FALSE(again.contains("zelda"));
    // Two copies of the program add a word each: neither word is lost.
    EXPECT_EQ(again.add("Link"), 0);
    EXPECT_EQ(words.add("Hyrule"), 0);
    EXPECT_EQ(readBytes(list), "\xEF\xBB\xBFZelda\r\nÑu\r\nŁukasz\r\nLink\r\nHyrule\r\n");

    // Lists made on Windows: Windows-1252, or Shift-JIS for a Japanese project.
    const struct {
        const char* bytes;
        LegacyCodePage legacy;
        const char* word;
    } legacyRows[] = {
        {"Zelda\r\n\xD1u\r\n", LegacyCodePage::Windows1252, "Ñu"},
        {"\x83\x94\x83\x40\x83\x8B\r\n", LegacyCodePage::ShiftJis, "ヴァル"},
    };
    for (const auto& row : legacyRows) {
        writeBytes(list, row.bytes);
        ProjectWords legacy;
        legacy.load(project, row.legacy);
        EXPECT_TRUE(legacy.contains(row.word)) << row.word;
    }
    // One that does not decode is kept rather than written over.
    writeBytes(list, "\x83\x94\xFF\r\n");
    ProjectWords broken;
    broken.load(project, LegacyCodePage::ShiftJis);
    EXPECT_NE(broken.add("Zelda"), 0);
    EXPECT_EQ(readBytes(list), "\x83\x94\xFF\r\n");

    ProjectWords none;
    none.load("");
    EXPECT_NE(none.add("Zelda"), 0);
    // A list that cannot be written (its folder is gone) leaves the word unaccepted.
    ProjectWords lost;
    lost.load((dir.path() / "no/such/Demo.tpr").string());
    EXPECT_NE(lost.add("Zelda"), 0);
    EXPECT_FALSE(lost.contains("Zelda"));
}

TEST(HunspellSpeller, ChecksAndSuggestsWithTheSpanishDictionary) {
    HunspellSpeller speller;
    ASSERT_EQ(speller.load(), DictionaryStatus::Loaded);
    EXPECT_TRUE(speller.affixPath().ends_with("es_ES.aff"));
    for (const char* word : {"canción", "vergüenza", "años", "casa"})
        EXPECT_TRUE(speller.check(word)) << word;
    for (const char* word : {"cueba", "kasa", "xyzzy", "Łódź", "αλφα", "𐌰𐌱"})
        EXPECT_FALSE(speller.check(word)) << word;
    // Suggestions come back in UTF-8, accents included.
    for (const auto& [word, expected] : {std::pair{"cueba", "cueva"}, {"cancion", "canción"}}) {
        const Words suggestions = speller.suggest(word);
        EXPECT_NE(std::find(suggestions.begin(), suggestions.end(), expected), suggestions.end()) << word;
    }
}

// The same dictionary in ISO8859-1: words cross into its character set and
// back; one with a letter the set lacks is simply not in it.
TEST(HunspellSpeller, ConvertsWordsToADictionaryInISO8859_1) {
    TempDir dir;
    std::string affix = readBytes("/usr/share/hunspell/es_ES.aff");
    ASSERT_TRUE(affix.starts_with("SET UTF-8\nFLAG UTF-8\n"));
    affix.replace(0, std::string_view("SET UTF-8\nFLAG UTF-8\n").size(), "SET ISO8859-1\n");
    std::string dictionary = readBytes("/usr/share/hunspell/es_ES.dic");
    // One entry carries a left-to-right mark, which ISO8859-1 lacks.
    for (std::size_t at; (at = dictionary.find("\u200E")) != std::string::npos;)
        dictionary.erase(at, 3);
    const std::optional<std::string> latinAffix = utf8ToEncoding(affix, "ISO8859-1");
    const std::optional<std::string> latinDictionary = utf8ToEncoding(dictionary, "ISO8859-1");
    ASSERT_TRUE(latinAffix && latinDictionary);
    writeBytes(dir.file("es_ES.aff"), *latinAffix);
    writeBytes(dir.file("es_ES.dic"), *latinDictionary);

    HunspellSpeller speller({dir.path().string()});
    ASSERT_EQ(speller.load(), DictionaryStatus::Loaded);
    for (const char* word : {"canción", "vergüenza", "casa"})
        EXPECT_TRUE(speller.check(word)) << word;
    for (const char* word : {"cueba", "Łódź", "αλφα", "ヴァル"}) {
        EXPECT_FALSE(speller.check(word)) << word;
        EXPECT_NO_THROW(speller.suggest(word));
    }
    const Words suggestions = speller.suggest("cancion");
    EXPECT_NE(std::find(suggestions.begin(), suggestions.end(), "canción"), suggestions.end());
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
