#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include <QString>

namespace tradumar {

// The one crossing between the core's text (UTF-8 in NFC) and Qt's.
//
// CR LF becomes the editor's line break ("\n"), a lone LF becomes U+2028 (a
// line separator, the only way a pane can hold it apart from a real line
// break) and a lone CR stays "\r", so nothing a file holds is lost on its way
// through a pane.
QString toQString(std::string_view utf8);

// The reverse, normalised to NFC: "\n" and U+2029 (the paragraph separator a
// text document uses between its blocks) become CR LF, U+2028 a lone LF.
// Every character is kept.
std::string fromQString(const QString& text);

// Positions: the offset in a QString (UTF-16 units) of a byte offset in the
// UTF-8 text it came from line for line (no line breaks in between), and back.
qsizetype qtOffsetOf(std::string_view utf8, std::size_t byteOffset);
std::size_t utf8OffsetOf(const QString& text, qsizetype qtOffset);

// File and folder names are the file system's own (UTF-8 on Linux) and reach
// it unchanged.
QString pathToQString(const std::string& path);
std::string pathFromQString(const QString& path);

} // namespace tradumar
