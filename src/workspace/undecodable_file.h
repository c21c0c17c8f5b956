#pragma once

#include <cstddef>
#include <string>

#include <QString>

#include "encoding/unicode_text.h"

class QWidget;

namespace tradumar {

class Dialogs;

// "no está en UTF-8 ni en Windows-1252 (byte 0x81 en la posición 12)", for
// the messages about a file that was not loaded because it could not be decoded.
QString undecodableText(LegacyCodePage legacy, std::size_t offset, unsigned char byte);

// Tells the user that a file was not loaded, naming it, the byte and its offset.
void reportUndecodableFile(QWidget* parent, Dialogs& dialogs, const std::string& path, LegacyCodePage legacy,
                           std::size_t offset, unsigned char byte);

} // namespace tradumar
