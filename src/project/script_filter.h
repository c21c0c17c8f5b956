#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "project/translation_progress.h"

namespace tradumar {

// What the script list shows. The filter changes which scripts are listed,
// never their names or their order.
enum class ScriptFilter { All, NotTranslated, OverBudget, CannotInsert, PendingInsertion };

// Every filter in the order the list offers them.
constexpr ScriptFilter kScriptFilters[] = {ScriptFilter::All, ScriptFilter::NotTranslated,
                                           ScriptFilter::OverBudget, ScriptFilter::CannotInsert,
                                           ScriptFilter::PendingInsertion};

// "Todos", "Sin traducir", "Exceden su tamaño", "No se pueden insertar",
// "Pendientes de insertar".
std::string_view scriptFilterText(ScriptFilter filter);

// Whether a script passes the filter. `pending`: its saved translation can be
// inserted and the ROM does not hold its bytes yet (the caller knows; scripts
// over their size count when their bytes are not in the ROM either).
bool passesFilter(const ScriptProgress& script, ScriptFilter filter, bool pending);

// The indexes (into `scripts`) the filter lets through, in list order.
// `pending` holds one flag per script, or is empty when none is pending.
std::vector<std::size_t> filterScripts(const std::vector<ScriptProgress>& scripts, ScriptFilter filter,
                                       const std::vector<bool>& pending = {});

// Moving through a filtered list: the shown index `step` places after (a
// negative step: before) the script at `current` of the whole list, which
// need not be shown itself. Nothing past either end.
std::optional<std::size_t> stepInView(const std::vector<std::size_t>& shown, std::size_t current, int step);

// "Siguiente sin traducir": the first script after `current` without a saved
// translation, going round to the start of the list; nothing when no other
// script lacks one. `current` may be past the end (none open): the search
// then starts at the top.
std::optional<std::size_t> nextUntranslated(const std::vector<ScriptProgress>& scripts, std::size_t current);

} // namespace tradumar
