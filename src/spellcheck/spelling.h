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
    const auto first = [](const std::string& text) { return text.empty() ? ' ' : text.front(); };
    return {first(settings.leftEnclosure()), first(settings.rightEnclosure())};
}

} // namespace tradumar
