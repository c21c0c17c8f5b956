#include "controls/system_colours.h"

#include <optional>

namespace tradumar {

namespace {

// The desktop's colour scheme is process-wide by nature, as GetSysColor is;
// everything runs on the one user-interface thread.
std::optional<SystemColours>& overrideSlot() {
    static std::optional<SystemColours> slot;
    return slot;
}

} // namespace

SystemColours SystemColours::classic() {
    return SystemColours{rgbColour(212, 208, 200), rgbColour(128, 128, 128), rgbColour(255, 255, 255),
                         rgbColour(64, 64, 64)};
}

SystemColours currentSystemColours() {
    const auto& slot = overrideSlot();
    return slot ? *slot : SystemColours::classic();
}

ScopedSystemColours::ScopedSystemColours(const SystemColours& colours)
    : m_previous(overrideSlot().value_or(SystemColours::classic())),
      m_hadOverride(overrideSlot().has_value()) {
    overrideSlot() = colours;
}

ScopedSystemColours::~ScopedSystemColours() {
    if (m_hadOverride)
        overrideSlot() = m_previous;
    else
        overrideSlot().reset();
}

} // namespace tradumar
