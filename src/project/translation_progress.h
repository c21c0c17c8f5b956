#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "boxes/text_boxes.h"
#include "encoding/script_codec.h"
#include "encoding/unicode_text.h"
#include "project/project_text_boxes.h"

namespace tradumar {

// CannotInsert: a saved translation that the encoder cannot turn into bytes
// (characters the table lacks, invalid raw blocks, a block never closed) or
// whose file name gives no offset and size.
enum class ScriptState { NotTranslated, WithinBudget, OverBudget, CannotInsert };

// One script as its files say: whether a translation is saved for it and how
// many real bytes the encoder writes for it against the original's budget
// (from the script's file name; none when the name is not HEX[SIZE].txt).
struct ScriptProgress {
    std::string fileName;
    ScriptState state = ScriptState::NotTranslated;
    std::int64_t translatedBytes = 0;
    std::optional<std::int64_t> budget;
    std::string problem; // for CannotInsert: why, in a few Spanish words
    TextBoxCounts boxes; // lines and boxes past the project's text-box limits

    // Bytes left (negative when over budget); nothing without a budget or a translation.
    std::optional<std::int64_t> difference() const {
        if (!budget || state == ScriptState::NotTranslated)
            return std::nullopt;
        return *budget - translatedBytes;
    }
};

struct ProgressSummary {
    int scripts = 0;
    int translated = 0;
    int overBudget = 0;
    int cannotInsert = 0;
    int overBoxes = 0; // translations with lines or boxes past the limits (insertable all the same)
};

class ProjectSettings;

// How far the translation of a project has come: every script of the list
// with the state of its saved translation, weighed with the encoder that
// inserts it, so a script marked as fitting really fits.
class TranslationProgress {
public:
    // Reads every saved translation of the scripts named, from the
    // Traducidos folder of scriptsFolder.
    void reset(const std::vector<std::string>& fileNames, const std::string& scriptsFolder,
               LegacyCodePage legacy, const CodecContext& encoder);
    void clear();

    // The text-box limits (and width table) of the project, which every
    // saved translation is checked against from the next reset or update on.
    void followLimits(const ProjectSettings& settings);

    // Reads the saved translation of one script again (after a save). False
    // when the script is not on the list.
    bool update(const std::string& fileName, const CodecContext& encoder);

    const std::vector<ScriptProgress>& scripts() const { return m_scripts; }
    const ScriptProgress* find(const std::string& fileName) const;
    ProgressSummary summary() const;

private:
    ScriptProgress measure(const std::string& fileName, const CodecContext& encoder) const;

    std::string m_translationFolder;
    LegacyCodePage m_legacy = LegacyCodePage::Windows1252;
    std::vector<ScriptProgress> m_scripts;
    std::unordered_map<std::string, std::size_t> m_index;
    ProjectTextBoxes m_boxes;
};

// "Traducidos: 87 de 120 (72 %) · 3 exceden su tamaño", and
// " · 2 no se pueden insertar" when some cannot be inserted, and
// " · 1 no cabe en sus cajas de texto" when some pass the text-box limits.
std::string summaryText(const ProgressSummary& summary);

// "Sin traducir", "Traducido", "Excede su tamaño", "No se puede insertar".
std::string stateText(ScriptState state);

// The rows as text for the clipboard: a heading line, then one line per
// script, columns separated by tabs, lines by CR LF.
std::string progressTableText(const std::vector<ScriptProgress>& rows);

} // namespace tradumar
