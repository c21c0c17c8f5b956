#pragma once

class QWidget;

namespace tradumar {

class Dialogs;
class ProcessLauncher;
class ProjectSettings;

// RunEmulator: starts the project's emulator on the ROM and returns at once.
// The ROM path reaches the emulator as one argument, whatever blanks it
// holds; nothing goes through a shell.
void runEmulator(QWidget* parent, const ProjectSettings& settings, Dialogs& dialogs,
                 ProcessLauncher& launcher);

} // namespace tradumar
