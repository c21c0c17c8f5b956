#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "encoding/script_codec.h"
#include "encoding/unicode_text.h"

namespace tradumar {

enum class ScriptState { NotTranslated, WithinBudget, OverBudget };

// One script as its files say: whether a translation is saved for it and how
// many real bytes that translation takes against the original's budget (from
// the script's file name; none when the name carries no size).
struct ScriptProgress {
    std::string fileName;
    ScriptState state = ScriptState::NotTranslated;
    std::int64_t translatedBytes = 0;
    std::optional<std::int64_t> budget;

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
};

// How far the translation of a project has come: every script of the list
// with the state of its saved translation, counted with the same counter the
// status shows while typing.
class TranslationProgress {
public:
    // Reads every saved translation of the scripts named, from the
    // Traducidos folder of scriptsFolder.
    void reset(const std::vector<std::string>& fileNames, const std::string& scriptsFolder,
               LegacyCodePage legacy, const CodecContext& counter);
    void clear();

    // Reads the saved translation of one script again (after a save). False
    // when the script is not on the list.
    bool update(const std::string& fileName, const CodecContext& counter);

    const std::vector<ScriptProgress>& scripts() const { return m_scripts; }
    const ScriptProgress* find(const std::string& fileName) const;
    ProgressSummary summary() const;

private:
    ScriptProgress measure(const std::string& fileName, const CodecContext& counter) const;

    std::string m_translationFolder;
    LegacyCodePage m_legacy = LegacyCodePage::Windows1252;
    std::vector<ScriptProgress> m_scripts;
    std::unordered_map<std::string, std::size_t> m_index;
};

// "Traducidos: 87 de 120 (72 %) · 3 exceden su tamaño" .
std::string summaryText(const ProgressSummary& summary);

// "Sin traducir", "Traducido", "Excede su tamaño".
std::string stateText(ScriptState state);

// The rows as text for the clipboard: a heading line, then one line per
// script, columns separated by tabs, lines by CR LF.
std::string progressTableText(const std::vector<ScriptProgress>& rows);

} // namespace tradumar
