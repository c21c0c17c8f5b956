#pragma once

#include <cstddef>
#include <string>

#include <QString>

#include "encoding/unicode_text.h"

class QWidget;

namespace tradumar {

class Dialogs;

// Tells the user that a file was not loaded, naming it, the byte and its offset.
void reportUndecodableFile(QWidget* parent, Dialogs& dialogs, const std::string& path, LegacyCodePage legacy,
                           std::size_t offset, unsigned char byte);

} // namespace tradumar
