#include <gtest/gtest.h>

#include <cerrno>

#include "glossary/glossary.h"
#include "support/temp_dir.h"

namespace tradumar::testsupport {
namespace {

TEST(Glossary, FileBesideTheProjectKeepsLinesItDoesNotChange) {
    TempDir dir;
    const std::string project = dir.file("Port Azure.tpr");
    EXPECT_EQ(glossaryPathFor(project), dir.file("Port Azure.glosario.txt"));
    // Written by hand on Windows: Windows-1252, a comment, a bad line, a repeat.
    writeBytes(
        dir.file("Port Azure.glosario.txt"),
        "# Nombres\r\nPort Azure = Puerto Azur\r\nPotion=Poci\xF3n\r\nsin signo\r\nPotion=Brebaje\r\n");
    Glossary glossary;
    ASSERT_EQ(glossary.load(project), TextFileStatus::Read);
    EXPECT_EQ(glossary.pairs(),
              (std::vector<GlossaryPair>{{"Port Azure", "Puerto Azur"}, {"Potion", "Poción"}}));
    EXPECT_EQ(glossary.badLines(), std::vector<int>{4});

    ASSERT_EQ(glossary.add(" Potion ", "Poción curativa"), 0); // a known term: its own line changes
    ASSERT_EQ(glossary.add("勇者", "Héroe ①"), 0);
    EXPECT_EQ(readBytes(glossary.path()),
              "# Nombres\r\nPort Azure = Puerto Azur\r\nPotion=Poción curativa\r\n"
              "sin signo\r\nPotion=Brebaje\r\n勇者=Héroe ①\r\n");
    Glossary again;
    again.load(project);
    EXPECT_EQ(again.pairs(), glossary.pairs());
    EXPECT_EQ(again.pairs().back(), (GlossaryPair{"勇者", "Héroe ①"}));

    for (const auto& [original, translation] :
         std::vector<std::pair<std::string, std::string>>{{"", "x"}, {"a=b", "x"}, {"Sol", "dos\nlíneas"}})
        EXPECT_EQ(again.add(original, translation), EINVAL) << original;
    Glossary none;
    none.load("");
    EXPECT_EQ(none.add("Sol", "Sol"), EINVAL);

    // Saving a whole list replaces the file, comments and all.
    ASSERT_EQ(again.save({{"Sol", "Sol"}, {"Luna", "Luna"}}), 0);
    EXPECT_EQ(readBytes(glossary.path()), "Sol=Sol\r\nLuna=Luna\r\n");
}

TEST(Glossary, TermsFoundInTheOriginalAndFlaggedWhenTheTranslationLacksThem) {
    const std::vector<GlossaryPair> pairs{{"Potion", "Poción"}, {"Azure", "Azur"}, {"END", "FIN"},
                                          {"勇者", "héroe"},    {"Ra", "Ra"},      {"Sword", ""}};
    struct Case {
        const char* original;
        const char* translation;
        std::vector<std::array<int, 3>> hits; // pair, occurrences, missing
    };
    const Case cases[] = {
        {"Buy a POTION in Port Azure.<END>",
         "Compra una poción en Puerto Azur.<END>",
         {{0, 1, 0}, {1, 1, 0}}},
        {"Azure potions? No: a Potion!", "¿Pociones? No: ¡un elixir!", {{1, 1, 1}, {0, 1, 1}}},
        {"勇者よ、Rain falls on Ra.", "Héroe, llueve sobre Ra.", {{3, 1, 0}, {4, 1, 0}}},
        {"The Sword of Azure<03>", "La Espada<03>", {{5, 1, 0}, {1, 1, 1}}},
        {"Potion\r\nPotion ♪ potion", "poción", {{0, 3, 0}}},
    };
    for (const Case& c : cases) {
        std::vector<GlossaryHit> hits = findGlossaryTerms(pairs, c.original, {U'<', U'>'});
        flagMissingTranslations(hits, pairs, c.translation, {U'<', U'>'});
        std::vector<std::array<int, 3>> seen;
        for (const GlossaryHit& hit : hits)
            seen.push_back({static_cast<int>(hit.pair), hit.occurrences, hit.missing ? 1 : 0});
        EXPECT_EQ(seen, c.hits) << c.original;
    }
    const std::vector<GlossaryHit> hits = findGlossaryTerms(pairs, "Azure and the Potion", {U'<', U'>'});
    EXPECT_EQ(hits.at(1).firstAt, 14u);
}

} // namespace
} // namespace tradumar::testsupport
