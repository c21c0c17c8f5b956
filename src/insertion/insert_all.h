#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "encoding/script_codec.h"
#include "insertion/insertion_journal.h"
#include "project/project_text_boxes.h"

namespace tradumar {

struct MissingCharacter {
    char32_t character = 0;
    int position = 0; // 1-based, in characters of the translation's text
    int code = 0;     // as the missing-character question gives it
};

struct InvalidBlock {
    std::string block; // as written, enclosures included
    int position = 0;  // 1-based, in characters of the translation's text
};

// One saved translation, encoded and weighed against its budget.
struct PlannedScript {
    enum class Status {
        Fits,              // insertable
        OverBudget,        // insertable when the translator says so
        MissingCharacters, // the table lacks characters (and blocks may be invalid): not insertable
        InvalidBlocks,     // raw blocks that write no bytes: not insertable
        EncodeFailed,      // a raw block or the text fails (error), or the file cannot be read
        NoBudget,          // the file name carries no offset or no size
    };
    std::string fileName;
    Status status = Status::Fits;
    std::int64_t offset = 0;
    int budget = 0;
    Bytes bytes;
    std::vector<MissingCharacter> missing;
    std::vector<InvalidBlock> invalidBlocks;
    int error = FailureCode::None;
    int errorAt = 0;     // the block an error comes from
    TextBoxCounts boxes; // lines and boxes past the text-box limits: told, never a bar to inserting

    bool insertable(bool includeOverBudget) const {
        return status == Status::Fits || (includeOverBudget && status == Status::OverBudget);
    }
};

struct InsertAllPlan {
    std::vector<PlannedScript> scripts;
    bool cancelled = false;

    // The writes of the insertable scripts, in the order of the list.
    std::vector<RomWrite> writes(bool includeOverBudget) const;
};

// The translation files of Traducidos (names ending ".txt", any case), sorted
// as the script list sorts them.
std::vector<std::string> translatedScriptNames(const std::string& scriptsFolder);

// Reads and encodes every saved translation with the encoder of a single
// insertion; a character the table lacks is noted, never asked about.
// keepGoing is asked before each script; false leaves the plan cancelled.
// Each translation is also checked against the project's text-box limits.
InsertAllPlan planInsertAll(const std::string& scriptsFolder, LegacyCodePage legacy,
                            const CodecContext& context, const KeepGoing& keepGoing,
                            const ProjectTextBoxes& boxes = ProjectTextBoxes());

} // namespace tradumar
