#pragma once

#include <QGroupBox>

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace tradumar {

class Dialogs;
class ProjectSettings;

// "Cajas de texto y ROM" in the project dialog: characters (or pixels) per
// line, lines per box, the raw blocks that end a box, the width table file,
// and "Corregir la suma de control".
class LimitsGroup : public QGroupBox {
public:
    LimitsGroup(Dialogs& dialogs, QWidget* parent);

    void fill(const ProjectSettings& settings);
    // Writes what the group shows into the settings.
    void apply(ProjectSettings& settings) const;

private:
    void pickWidthTable();

    Dialogs& m_dialogs;
    QSpinBox* m_line;
    QSpinBox* m_lines;
    QLineEdit* m_breaks;
    QLineEdit* m_widths;
    QCheckBox* m_checksum;
};

} // namespace tradumar
