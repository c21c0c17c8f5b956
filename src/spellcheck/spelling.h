#pragma once

#include "project/project_settings.h"
#include "spellcheck/hunspell_speller.h"
#include "spellcheck/project_words.h"
#include "spellcheck/word_splitter.h"

namespace tradumar {

// What spell checking keeps for the whole run: the dictionary, loaded on
// first use, and the open project's own words.
struct Spelling {
    HunspellSpeller speller;
    ProjectWords projectWords;
};

// The project's enclosures as the word splitter takes them.
inline Enclosures enclosuresOf(const ProjectSettings& settings) {
    return {settings.leftCharacter(), settings.rightCharacter()};
}

} // namespace tradumar
