#pragma once

#include <string>

class QWidget;

namespace tradumar {

class Dialogs;

// "Crear parche...": a patch from the untouched ROM kept beside the project's
// ROM (or one the user picks when there is none) to the ROM as it is now, in
// the format the chosen file name asks for; says what it wrote.
void createPatch(QWidget* parent, Dialogs& dialogs, const std::string& romPath);

} // namespace tradumar
