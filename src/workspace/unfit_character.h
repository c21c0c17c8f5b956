#pragma once

#include <string>

#include <QString>

class QWidget;

namespace tradumar {

class Dialogs;

// Tells the user that a file was not loaded because it holds a character
// Windows-1252 has no byte for, naming the file and the character.
void reportUnfitCharacter(QWidget* parent, Dialogs& dialogs, const std::string& path, char32_t character);

// "el carácter "ő" (U+0151), que no existe en Windows-1252", for the messages
// that name such a character.
QString unfitCharacterText(char32_t character);

} // namespace tradumar
