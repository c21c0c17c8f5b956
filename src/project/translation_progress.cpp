#include "project/translation_progress.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

#include "encoding/conversions.h"
#include "project/project_settings.h"
#include "project/script_files.h"

namespace tradumar {

ScriptProgress TranslationProgress::measure(const std::string& fileName, const CodecContext& encoder) const {
    ScriptProgress row;
    row.fileName = fileName;
    const std::optional<ScriptPlace> place = scriptPlace(fileName);
    if (place)
        row.budget = place->size;
    // The text as opening the script would put it in the pane.
    const std::optional<std::string> text = readJoinedText(m_translationFolder + fileName, m_legacy);
    if (!text)
        return row;
    int missing = 0;
    int invalidBlocks = 0;
    const EncodeResult encoded = encodeScript(
        *text, encoder,
        [&](char32_t, int, int) {
            ++missing;
            return MissingAnswer::GoOn;
        },
        [&](std::string_view, int) {
            ++invalidBlocks;
            return MissingAnswer::GoOn;
        });
    row.translatedBytes = static_cast<std::int64_t>(encoded.bytes.size());
    row.boxes = m_boxes.count(*text);
    if (encoded.error != FailureCode::None)
        row.problem = encoded.error == FailureCode::Overflow ? "bloque sin cerrar o texto demasiado largo"
                                                             : "bloque sin cerrar";
    else if (missing > 0)
        row.problem = "caracteres que la tabla no tiene";
    else if (invalidBlocks > 0)
        row.problem = "bloques no válidos";
    else if (!place)
        row.problem = "el nombre no indica dirección y tamaño";
    if (!row.problem.empty())
        row.state = ScriptState::CannotInsert;
    else
        row.state = row.translatedBytes > place->size ? ScriptState::OverBudget : ScriptState::WithinBudget;
    return row;
}

void TranslationProgress::followLimits(const ProjectSettings& settings) {
    m_boxes = ProjectTextBoxes(settings);
}

void TranslationProgress::reset(const std::vector<std::string>& fileNames, const std::string& scriptsFolder,
                                LegacyCodePage legacy, const CodecContext& encoder) {
    clear();
    m_translationFolder = translationFolderOf(scriptsFolder);
    m_legacy = legacy;
    m_scripts.resize(fileNames.size());
    for (std::size_t i = 0; i < fileNames.size(); ++i)
        m_index.emplace(fileNames[i], i);

    // Reading and counting thousands of translations is most of opening a
    // large project; each script is measured on its own, so the work is
    // shared among the processor's cores. The table's lookup index is built
    // lazily: built here, before the threads read it together.
    encoder.table.find("a");
    const std::size_t workers = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1,
                                                        std::max<std::size_t>(1, fileNames.size() / 64));
    std::atomic<std::size_t> next{0};
    const auto measureRest = [&] {
        for (std::size_t i; (i = next.fetch_add(1)) < fileNames.size();)
            m_scripts[i] = measure(fileNames[i], encoder);
    };
    std::vector<std::thread> threads;
    try {
        for (std::size_t w = 1; w < workers; ++w)
            threads.emplace_back(measureRest);
    } catch (const std::system_error&) {
        // No more threads to be had: those running share the work.
    }
    measureRest();
    for (std::thread& thread : threads)
        thread.join();
}

void TranslationProgress::clear() {
    m_translationFolder.clear();
    m_scripts.clear();
    m_index.clear();
}

bool TranslationProgress::update(const std::string& fileName, const CodecContext& encoder) {
    const auto found = m_index.find(fileName);
    if (found == m_index.end())
        return false;
    m_scripts[found->second] = measure(fileName, encoder);
    return true;
}

const ScriptProgress* TranslationProgress::find(const std::string& fileName) const {
    const auto found = m_index.find(fileName);
    return found == m_index.end() ? nullptr : &m_scripts[found->second];
}

ProgressSummary TranslationProgress::summary() const {
    ProgressSummary summary;
    summary.scripts = static_cast<int>(m_scripts.size());
    for (const ScriptProgress& row : m_scripts) {
        summary.translated += row.state != ScriptState::NotTranslated;
        summary.overBudget += row.state == ScriptState::OverBudget;
        summary.cannotInsert += row.state == ScriptState::CannotInsert;
        summary.overBoxes += !row.boxes.fits();
    }
    return summary;
}

std::string summaryText(const ProgressSummary& summary) {
    // Rounded down: 100 % only when every script is translated.
    const int percent = summary.scripts == 0 ? 0 : summary.translated * 100 / summary.scripts;
    std::string text = "Traducidos: " + std::to_string(summary.translated) + " de " +
                       std::to_string(summary.scripts) + " (" + std::to_string(percent) + " %) · " +
                       std::to_string(summary.overBudget);
    text += summary.overBudget == 1 ? " excede su tamaño" : " exceden su tamaño";
    if (summary.cannotInsert > 0)
        text += " · " + std::to_string(summary.cannotInsert) +
                (summary.cannotInsert == 1 ? " no se puede insertar" : " no se pueden insertar");
    if (summary.overBoxes > 0)
        text += " · " + textBoxScriptsText(summary.overBoxes);
    return text;
}

std::string stateText(ScriptState state) {
    switch (state) {
    case ScriptState::NotTranslated:
        return "Sin traducir";
    case ScriptState::WithinBudget:
        return "Traducido";
    case ScriptState::OverBudget:
        return "Excede su tamaño";
    case ScriptState::CannotInsert:
        return "No se puede insertar";
    }
    return {};
}

std::string progressTableText(const std::vector<ScriptProgress>& rows) {
    std::string text = "Script\tBytes traducidos\tPresupuesto\tDiferencia\tEstado\r\n";
    const auto number = [](const std::optional<std::int64_t>& value) {
        return value ? std::to_string(*value) : std::string();
    };
    for (const ScriptProgress& row : rows) {
        const bool translated = row.state != ScriptState::NotTranslated;
        text += row.fileName + '\t' + (translated ? std::to_string(row.translatedBytes) : std::string()) +
                '\t' + number(row.budget) + '\t' + number(row.difference()) + '\t' + stateText(row.state) +
                "\r\n";
    }
    return text;
}

} // namespace tradumar
