#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tradumar {

// Reads a script or translation file and joins its lines with CR LF. A line
// ends at CR LF or a lone CR; a lone LF stays in the line. Empty lines before
// the first non-empty one are dropped. Nothing when the file cannot be read.
std::optional<std::string> readJoinedText(const std::string& path);

// The folder of translations inside a scripts folder: scriptsFolder + "/Traducidos/".
std::string translationFolderOf(const std::string& scriptsFolder);

enum class FolderStatus { Created, Existed, Failed };
struct FolderResult {
    FolderStatus status;
    int error = 0; // errno when Failed
};
FolderResult createTranslationFolder(const std::string& scriptsFolder);

// Writes the text followed by CR LF, replacing the file through a temporary
// file and a rename so a failed save keeps the translation saved before.
// Returns 0 or the errno of the failing step.
int writeTranslationFile(const std::string& path, std::string_view text);

// "number: description" for an errno, as the save messages show it; the
// description is our own Spanish text (Windows-1252).
std::string describeError(int error);

} // namespace tradumar
