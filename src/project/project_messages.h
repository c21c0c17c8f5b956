#pragma once

#include <cstddef>
#include <string>

#include "encoding/unicode_text.h"
#include "project/project_model.h"

namespace tradumar {

// The Spanish sentences for what the open-project model reports, made in one
// place for the window and the command line alike (UTF-8).

// "no está en UTF-8 ni en Windows-1252 (byte 0x81 en la posición 12)".
std::string undecodableText(LegacyCodePage legacy, std::size_t offset, unsigned char byte);

// Why a project did not open, as it follows "No se pudo abrir el proyecto X: ".
std::string openFailureText(const OpenFailure& failure);

// The lines of both tables whose codes cannot be used, said once at opening
// (the first ten of each table and their count); empty when there are none.
std::string unusableLinesText(const TablesLoad& tables, const ProjectSettings& settings);

} // namespace tradumar
