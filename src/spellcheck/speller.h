#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tradumar {

// A spelling dictionary as the check and the underlining use it. Words come
// and go as UTF-8 in NFC, the way the core holds text.
class Speller {
public:
    virtual ~Speller() = default;

    // True when the dictionary knows the word.
    virtual bool check(std::string_view word) = 0;

    // Replacements for a word, best first; possibly none.
    virtual std::vector<std::string> suggest(std::string_view word) = 0;
};

} // namespace tradumar
