#include "project/project_text_boxes.h"

#include "project/project_settings.h"

namespace tradumar {

ProjectTextBoxes::ProjectTextBoxes(const ProjectSettings& settings)
    : m_limits(settings.textBoxLimits), m_left(settings.leftCharacter()), m_right(settings.rightCharacter()) {
    if (!m_limits.widthTablePath.empty())
        m_widths = readWidthTable(pathBesideProject(settings.projectFilePath, m_limits.widthTablePath),
                                  settings.legacyCodePage)
                       .table;
}

TextBoxCounts ProjectTextBoxes::count(std::string_view text) const {
    if (!m_limits.active())
        return {};
    return countTextBoxExcess(text, {m_limits, m_left, m_right, m_widths ? &*m_widths : nullptr});
}

} // namespace tradumar
