#include "pointers/verification.h"

#include <algorithm>

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

} // namespace tradumar
