#include "workspace/script_files.h"

#include <cerrno>
#include <sys/stat.h>

#include "common/file_io.h"
#include "common/system_error.h"

namespace tradumar {

std::optional<std::string> readJoinedText(const std::string& path) {
    const std::optional<std::string> content = readWholeFile(path);
    if (!content)
        return std::nullopt;

    const std::string_view data = *content;
    std::string joined;
    std::size_t start = 0;
    while (start < data.size()) {
        const std::size_t cr = data.find('\r', start);
        const std::size_t lineEnd = cr == std::string_view::npos ? data.size() : cr;
        const std::string_view line = data.substr(start, lineEnd - start);
        // Empty lines before the first non-empty one leave the text empty.
        if (joined.empty()) {
            joined.assign(line);
        } else {
            joined += "\r\n";
            joined += line;
        }
        if (cr == std::string_view::npos)
            break;
        start = cr + 1;
        if (start < data.size() && data[start] == '\n')
            ++start;
    }
    return joined;
}

std::string translationFolderOf(const std::string& scriptsFolder) {
    return scriptsFolder + "/Traducidos/";
}

FolderResult createTranslationFolder(const std::string& scriptsFolder) {
    const std::string folder = scriptsFolder + "/Traducidos";
    if (::mkdir(folder.c_str(), 0777) == 0)
        return {FolderStatus::Created, 0};
    const int error = errno;
    if (error == EEXIST) {
        struct stat info {};
        if (::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            return {FolderStatus::Existed, 0};
        return {FolderStatus::Failed, ENOTDIR};
    }
    return {FolderStatus::Failed, error};
}

int writeTranslationFile(const std::string& path, std::string_view text) {
    std::string content(text);
    content += "\r\n";
    return writeFileAtomically(path, content);
}

std::string describeError(int error) {
    return std::to_string(error) + ": " + systemErrorText(error);
}

} // namespace tradumar
