#include "pointers/verification.h"

#include <algorithm>

#include "common/file_io.h"

namespace tradumar {

std::string_view translationStateText(TranslationCheck::State state) {
    switch (state) {
    case TranslationCheck::State::Inserted:
        return "insertada";
    case TranslationCheck::State::Pending:
        return "pendiente";
    case TranslationCheck::State::Impossible:
        break;
    }
    return "no se puede insertar";
}

std::vector<TranslationCheck> verifyTranslations(const InsertAllPlan& plan, const PointerFile& file,
                                                 std::span<const std::uint8_t> rom) {
    std::vector<TranslationCheck> out;
    for (const PlannedScript& s : plan.scripts) {
        TranslationCheck check{s.fileName, TranslationCheck::State::Impossible, s.offset, s.bytes.size()};
        const std::optional<ScriptLocation> location = locateScript(s.fileName, file, rom);
        if (s.insertable(true) && location) {
            check.offset = location->current.offset;
            const auto end = check.offset + static_cast<std::int64_t>(s.bytes.size());
            if (end <= static_cast<std::int64_t>(rom.size()))
                check.state = std::equal(s.bytes.begin(), s.bytes.end(),
                                         rom.begin() + static_cast<std::ptrdiff_t>(check.offset))
                                  ? TranslationCheck::State::Inserted
                                  : TranslationCheck::State::Pending;
        }
        out.push_back(std::move(check));
    }
    return out;
}

RomCheck checkProjectRom(const ProjectSettings& settings, const CodecContext& encoder) {
    RomCheck out;
    const std::string pointerPath = pointerFilePathFor(settings.projectFilePath);
    const PointerFileLoad pointers = loadPointerFile(pointerPath);
    if (!pointers.ok()) {
        out.failure = pointerFileFailureText(pointerPath, pointers);
        return out;
    }
    const std::optional<std::string> rom = readWholeFile(settings.romPath);
    if (!rom) {
        out.failure = "No se pudo leer la ROM " + settings.romPath + ".";
        return out;
    }
    const InsertAllPlan plan = planInsertAll(settings.scriptsFolder, settings.legacyCodePage, encoder, {});
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(rom->data());
    out.checks = verifyTranslations(plan, pointers.file, {bytes, rom->size()});
    return out;
}

std::string romCheckSummary(const std::vector<TranslationCheck>& checks) {
    std::size_t counts[3] = {0, 0, 0};
    for (const TranslationCheck& c : checks)
        ++counts[static_cast<int>(c.state)];
    return "En la ROM: " + std::to_string(counts[0]) + (counts[0] == 1 ? " insertada, " : " insertadas, ") +
           std::to_string(counts[1]) + (counts[1] == 1 ? " pendiente, " : " pendientes, ") +
           std::to_string(counts[2]) +
           (counts[2] == 1 ? " no se puede insertar." : " no se pueden insertar.");
}

} // namespace tradumar
