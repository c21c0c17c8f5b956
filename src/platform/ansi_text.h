#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace tradumar {

// The one crossing between the core's Windows-1252 bytes and Qt's text.
//
// Every byte value maps to one character and back, so nothing a file holds is
// lost on its way through a pane: CR LF becomes the editor's line break
// ("\n"), a lone LF becomes U+2028 (a line separator, the only way a pane can
// hold it apart from a real line break) and a lone CR stays "\r". The
// undefined bytes 81, 8D, 8F, 90 and 9D become the C1 controls of the same
// value.
QString toQString(std::string_view bytes);

// The reverse: "\n" and U+2029 (the paragraph separator a text document
// uses between its blocks) become CR LF, U+2028 a lone LF. A character the
// code page lacks becomes "?", one byte for every QChar, so a position in
// the bytes still names the character the user sees.
std::string fromQString(const QString& text);

// File and folder names are not text of the code page: they are the file
// system's own bytes and must reach it unchanged.
QString pathToQString(const std::string& path);
std::string pathFromQString(const QString& path);

} // namespace tradumar
