#include "insertion/insert_all.h"

#include "project/project_model.h"
#include "project/script_files.h"

namespace tradumar {

namespace {

PlannedScript planScript(const std::string& folder, const std::string& name, LegacyCodePage legacy,
                         const CodecContext& context, const ProjectTextBoxes& boxes) {
    PlannedScript script;
    script.fileName = name;
    const std::optional<ScriptPlace> place = scriptPlace(name);
    if (!place) {
        script.status = PlannedScript::Status::NoBudget;
        return script;
    }
    script.offset = place->offset;
    script.budget = place->size;
    const std::optional<std::string> text = readJoinedText(folder + name, legacy);
    if (!text) {
        script.status = PlannedScript::Status::EncodeFailed;
        script.error = FailureCode::PathFileAccess;
        return script;
    }
    script.boxes = boxes.count(*text);
    EncodeResult encoded = encodeScript(
        *text, context,
        [&script](char32_t character, int position, int code) {
            script.missing.push_back({character, position, code});
            return MissingAnswer::GoOn;
        },
        [&script](std::string_view block, int position) {
            script.invalidBlocks.push_back({std::string(block), position});
            return MissingAnswer::GoOn;
        });
    script.bytes = std::move(encoded.bytes);
    script.error = encoded.error;
    script.errorAt = encoded.errorAt;
    if (script.error != FailureCode::None)
        script.status = PlannedScript::Status::EncodeFailed;
    else if (!script.missing.empty())
        script.status = PlannedScript::Status::MissingCharacters;
    else if (!script.invalidBlocks.empty())
        script.status = PlannedScript::Status::InvalidBlocks;
    else if (static_cast<std::int64_t>(script.bytes.size()) > script.budget)
        script.status = PlannedScript::Status::OverBudget;
    return script;
}

} // namespace

std::vector<RomWrite> InsertAllPlan::writes(bool includeOverBudget) const {
    std::vector<RomWrite> out;
    for (const PlannedScript& s : scripts)
        if (s.insertable(includeOverBudget))
            out.push_back({s.fileName, s.offset, s.bytes});
    return out;
}

std::vector<std::string> translatedScriptNames(const std::string& scriptsFolder) {
    return scriptFileNames(translationFolderOf(scriptsFolder));
}

InsertAllPlan planInsertAll(const std::string& scriptsFolder, LegacyCodePage legacy,
                            const CodecContext& context, const KeepGoing& keepGoing,
                            const ProjectTextBoxes& boxes) {
    InsertAllPlan plan;
    const std::vector<std::string> names = translatedScriptNames(scriptsFolder);
    const std::string folder = translationFolderOf(scriptsFolder);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (keepGoing && !keepGoing(i, names.size())) {
            plan.cancelled = true;
            break;
        }
        plan.scripts.push_back(planScript(folder, names[i], legacy, context, boxes));
    }
    return plan;
}

} // namespace tradumar
