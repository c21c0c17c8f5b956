#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "encoding/text_file.h"

namespace tradumar {

// Reads a script or translation file and joins its lines with CR LF. A line
// ends at CR LF, a lone CR or a lone LF, and the file is UTF-8 or in the
// project's legacy code page (encoding/text_file.h). Empty lines before the
// first non-empty one are dropped.
DecodedText readScriptText(const std::string& path, LegacyCodePage legacy);

// The same text, or nothing when the file cannot be read or decoded.
std::optional<std::string> readJoinedText(const std::string& path, LegacyCodePage legacy);

// The folder of translations inside a scripts folder: scriptsFolder + "/Traducidos/".
std::string translationFolderOf(const std::string& scriptsFolder);

enum class FolderStatus { Created, Existed, Failed };
struct FolderResult {
    FolderStatus status;
    int error = 0; // errno when Failed
};
FolderResult createTranslationFolder(const std::string& scriptsFolder);

// Writes the text followed by CR LF (in the legacy code page when every
// character fits, otherwise as UTF-8 with a byte-order mark), replacing the file through a temporary
// file and a rename so a failed save keeps the translation saved before.
// Returns 0 or the errno of the failing step.
int writeTranslationFile(const std::string& path, std::string_view text, LegacyCodePage legacy);

// "number: description" for an errno, as the save messages show it; the
// description is our own Spanish text.
std::string describeError(int error);

} // namespace tradumar
