#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "encoding/script_codec.h"
#include "encoding/thingy_table.h"
#include "project/project_settings.h"
#include "project/translation_progress.h"
#include "spellcheck/spelling.h"

namespace tradumar {

// The program's state from start to exit: the project's settings, both thingy
// tables with their longest text lengths, and the state of the open script.
// One instance, owned by main() (or by each test) and handed to the windows
// by reference.
struct Workspace {
    ProjectSettings settings;

    ThingyTable originalTable;
    ThingyTable translatedTable;
    std::int16_t originalLongest = 1;
    std::int16_t translatedLongest = 1;

    // The script whose texts the panes show.
    std::optional<int> openScriptIndex;
    std::string openScriptFile;
    bool translationChanged = false;
    std::string pendingTranslation;
    // The translation as last loaded or saved: it counts as changed only
    // while the pane's text differs from this.
    std::string savedTranslation;

    // The spelling dictionary and the project's word list.
    Spelling spelling;

    // Which scripts have a saved translation, and which exceed their size.
    TranslationProgress progress;
    // The user was told that this project's ROM is of no kind whose checksum
    // the program sets; said once while the project is open.
    mutable bool checksumNoticeGiven = false;

    // The counter reads the translated table up to its own longest text.
    CodecContext counterContext() const {
        return {translatedTable, translatedLongest, settings.leftCharacter(), settings.rightCharacter(),
                settings.optimalEncoding};
    }
    // The encoder reads the translated table up to the original table's longest text.
    CodecContext encoderContext() const {
        return {translatedTable, originalLongest, settings.leftCharacter(), settings.rightCharacter(),
                settings.optimalEncoding};
    }
};

} // namespace tradumar
