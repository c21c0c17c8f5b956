#include "project/script_files.h"

#include <cerrno>
#include <sys/stat.h>

#include "common/file_io.h"
#include "common/system_error.h"

namespace tradumar {

DecodedText readScriptText(const std::string& path, LegacyCodePage legacy) {
    DecodedLines read = readTextFileLines(path, legacy);
    DecodedText out{read.status, {}, read.badOffset, read.badByte};
    for (const std::string& line : read.lines) {
        // Empty lines before the first non-empty one leave the text empty.
        if (!out.text.empty())
            out.text += "\r\n";
        out.text += line;
    }
    return out;
}

std::optional<std::string> readJoinedText(const std::string& path, LegacyCodePage legacy) {
    DecodedText read = readScriptText(path, legacy);
    if (read.status != TextFileStatus::Read)
        return std::nullopt;
    return std::move(read.text);
}

std::string translationFolderOf(const std::string& scriptsFolder) {
    return scriptsFolder + "/Traducidos/";
}

FolderResult createTranslationFolder(const std::string& scriptsFolder) {
    const std::string folder = scriptsFolder + "/Traducidos";
    if (::mkdir(folder.c_str(), 0777) == 0) {
        if (const int error = syncFolderHolding(folder); error != 0)
            return {FolderStatus::Failed, error};
        return {FolderStatus::Created, 0};
    }
    const int error = errno;
    if (error == EEXIST) {
        struct stat info {};
        if (::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            return {FolderStatus::Existed, 0};
        return {FolderStatus::Failed, ENOTDIR};
    }
    return {FolderStatus::Failed, error};
}

int writeTranslationFile(const std::string& path, std::string_view text, LegacyCodePage legacy) {
    std::string content = textFileBytes(text, legacy);
    content += "\r\n";
    return writeFileAtomically(path, content);
}

std::string describeError(int error) {
    return std::to_string(error) + ": " + systemErrorText(error);
}

} // namespace tradumar
