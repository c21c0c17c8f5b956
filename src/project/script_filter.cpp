#include "project/script_filter.h"

#include <algorithm>

namespace tradumar {

std::string_view scriptFilterText(ScriptFilter filter) {
    switch (filter) {
    case ScriptFilter::All:
        return "Todos";
    case ScriptFilter::NotTranslated:
        return "Sin traducir";
    case ScriptFilter::OverBudget:
        return "Exceden su tamaño";
    case ScriptFilter::CannotInsert:
        return "No se pueden insertar";
    case ScriptFilter::PendingInsertion:
        return "Pendientes de insertar";
    }
    return {};
}

bool passesFilter(const ScriptProgress& script, ScriptFilter filter, bool pending) {
    switch (filter) {
    case ScriptFilter::All:
        return true;
    case ScriptFilter::NotTranslated:
        return script.state == ScriptState::NotTranslated;
    case ScriptFilter::OverBudget:
        return script.state == ScriptState::OverBudget;
    case ScriptFilter::CannotInsert:
        return script.state == ScriptState::CannotInsert;
    case ScriptFilter::PendingInsertion:
        return pending &&
               (script.state == ScriptState::WithinBudget || script.state == ScriptState::OverBudget);
    }
    return false;
}

std::vector<std::size_t> filterScripts(const std::vector<ScriptProgress>& scripts, ScriptFilter filter,
                                       const std::vector<bool>& pending) {
    std::vector<std::size_t> shown;
    for (std::size_t i = 0; i < scripts.size(); ++i)
        if (passesFilter(scripts[i], filter, i < pending.size() && pending[i]))
            shown.push_back(i);
    return shown;
}

std::optional<std::size_t> stepInView(const std::vector<std::size_t>& shown, std::size_t current, int step) {
    if (step == 0)
        return std::find(shown.begin(), shown.end(), current) != shown.end() ? std::optional(current)
                                                                             : std::nullopt;
    // Positions in `shown` strictly after / before the current script.
    const auto after = std::upper_bound(shown.begin(), shown.end(), current);
    const auto before = std::lower_bound(shown.begin(), shown.end(), current);
    if (step > 0) {
        const auto left = static_cast<std::size_t>(shown.end() - after);
        if (static_cast<std::size_t>(step) > left)
            return std::nullopt;
        return after[step - 1];
    }
    const auto left = static_cast<std::size_t>(before - shown.begin());
    const auto back = static_cast<std::size_t>(-static_cast<long long>(step));
    if (back > left)
        return std::nullopt;
    return *(before - static_cast<std::ptrdiff_t>(back));
}

std::optional<std::size_t> nextUntranslated(const std::vector<ScriptProgress>& scripts, std::size_t current) {
    const std::size_t count = scripts.size();
    const std::size_t start = current < count ? current + 1 : 0;
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t i = (start + k) % count;
        if (i == current)
            break;
        if (scripts[i].state == ScriptState::NotTranslated)
            return i;
    }
    return std::nullopt;
}

} // namespace tradumar
