#pragma once

#include <span>
#include <string>
#include <vector>

#include "insertion/insert_all.h"
#include "pointers/script_places.h"
#include "project/project_settings.h"

namespace tradumar {

// What the ROM holds of a saved translation.
struct TranslationCheck {
    enum class State {
        Inserted,   // "insertada": the ROM holds exactly its encoded bytes at its current place
        Pending,    // "pendiente": the ROM holds something else there
        Impossible, // "no se puede insertar": it does not encode, has no place, or runs past the ROM's end
    };
    std::string script;
    State state = State::Pending;
    std::int64_t offset = 0; // its current place
    std::size_t bytes = 0;   // encoded
};

// The state's name as the user reads it.
std::string_view translationStateText(TranslationCheck::State state);

// Encodes every saved translation of the plan's scripts (planInsertAll, with
// the project's encoder) and compares it with the ROM at the script's
// current place (locateScript).
std::vector<TranslationCheck> verifyTranslations(const InsertAllPlan& plan, const PointerFile& file,
                                                 std::span<const std::uint8_t> rom);


// What the ROM holds of every saved translation of a project, or why that
// cannot be told (the pointer file or the ROM cannot be read).
struct RomCheck {
    std::vector<TranslationCheck> checks;
    std::string failure; // in Spanish; empty when the checks are complete
};
RomCheck checkProjectRom(const ProjectSettings& settings, const CodecContext& encoder);

// "En la ROM: 3 insertadas, 2 pendientes, 1 no se puede insertar."
std::string romCheckSummary(const std::vector<TranslationCheck>& checks);

} // namespace tradumar
