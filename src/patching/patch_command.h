#pragma once

#include <string>

class QWidget;

namespace tradumar {

class Dialogs;
class ProjectSettings;

// "Crear parche...": a patch from the untouched ROM kept beside the project's
// ROM (or one the user picks when there is none) to the ROM as it is now, in
// the format the chosen file name asks for; says what it wrote and the size
// and CRC32 of the source it used. The insertion journal is settled first,
// so the ROM read holds no unfinished step.
void createPatch(QWidget* parent, Dialogs& dialogs, const ProjectSettings& settings);

} // namespace tradumar
