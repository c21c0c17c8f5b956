#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tradumar {

// The whole content of a file as bytes, or nothing when it cannot be read.
std::optional<std::string> readWholeFile(const std::string& path);

// Replaces the file's content through a temporary file in the same folder and
// a rename, so a failure halfway leaves the old content intact. A read-only
// file is refused (EACCES) rather than replaced; through a symbolic link the
// link's target is written and the link stays. The folder is flushed after
// the rename. Returns 0 on success,
// otherwise the errno of the failing step.
int writeFileAtomically(const std::string& path, std::string_view content);

// Flushes the folder that holds the path, so that a file just created or
// renamed there survives a power loss. 0 or the errno of the failing step.
int syncFolderHolding(const std::string& path);

// True when a file or folder of that name exists.
bool pathExists(const std::string& path);

} // namespace tradumar
