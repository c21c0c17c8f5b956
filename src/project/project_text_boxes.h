#pragma once

#include <optional>
#include <string_view>

#include "boxes/text_boxes.h"
#include "boxes/width_table.h"

namespace tradumar {

class ProjectSettings;

// A project's text-box limits as the counts of its saved translations need
// them: the limits, the enclosures and the width table beside the project,
// read once.
class ProjectTextBoxes {
public:
    ProjectTextBoxes() = default;
    explicit ProjectTextBoxes(const ProjectSettings& settings);

    bool active() const { return m_limits.active(); }
    // Lines and boxes of a translation past the limits; none without limits.
    TextBoxCounts count(std::string_view text) const;

private:
    TextBoxLimits m_limits;
    char32_t m_left = U'<';
    char32_t m_right = U'>';
    std::optional<WidthTable> m_widths;
};

} // namespace tradumar
