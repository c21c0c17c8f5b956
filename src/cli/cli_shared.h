#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "cli/cli_commands.h"
#include "encoding/conversions.h"
#include "insertion/insertion_journal.h"
#include "pointers/pointer_file.h"
#include "project/project_model.h"

// Helpers the subcommands share: opening the project and its pointer file
// as the window does, and the words and progress lines they print.
namespace tradumar::cli {

// "0x1A0": an offset as the command line prints it.
std::string hexOffset(std::int64_t offset);

// Opens the project as the window does; a failure is said on `err`.
bool openOrSay(const std::string& projectFile, Workspace& workspace, OpenedProject& opened, Streams io,
               bool tablesNeeded = true);

// The project's pointer file (an empty one while it does not exist), or
// nothing when it cannot be read whole; the failure is said on `err`.
std::optional<PointerFile> loadPointersOrSay(const std::string& path, Streams io);

// What the ROM holds of each saved translation ("insertada", "pendiente",
// "no se puede insertar") by script; empty when the pointer file cannot be
// read (said on `err`).
std::map<std::string, std::string> romStates(const Workspace& workspace, Streams io);

// The ROM's bytes; empty when it cannot be read.
Bytes romBytesOf(const std::string& romPath);

// A progress line that rewrites itself, shown only on a terminal.
KeepGoing progressLine(Streams io, const char* what);
void endProgressLine(Streams io);

} // namespace tradumar::cli
