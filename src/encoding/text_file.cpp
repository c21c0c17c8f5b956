#include "encoding/text_file.h"

#include <array>
#include <optional>

#include "common/file_io.h"
#include "encoding/windows1252.h"

namespace tradumar {
namespace {

bool isUtf8WithMultiByte(std::string_view bytes) {
    bool multiByte = false;
    for (std::size_t at = 0; at < bytes.size();) {
        const auto decoded = decodeUtf8At(bytes, at);
        if (!decoded)
            return false;
        multiByte = multiByte || decoded->second > 1;
        at += decoded->second;
    }
    return multiByte;
}

} // namespace

Windows1252Text toWindows1252(std::string_view fileBytes) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    const bool marked = fileBytes.starts_with(kByteOrderMark);
    if (marked)
        fileBytes.remove_prefix(kByteOrderMark.size());
    else if (!isUtf8WithMultiByte(fileBytes))
        return {TextFileStatus::Read, std::string(fileBytes), 0};

    Windows1252Text out;
    out.text.reserve(fileBytes.size());
    for (std::size_t at = 0; at < fileBytes.size();) {
        const auto decoded = decodeUtf8At(fileBytes, at);
        const char32_t c = decoded ? decoded->first : char32_t{0xFFFD};
        const std::optional<char> converted = decoded ? windows1252ByteOf(c) : std::nullopt;
        if (!converted)
            return {TextFileStatus::NotWindows1252, {}, c};
        out.text += *converted;
        at += decoded->second;
    }
    return out;
}

std::vector<std::string_view> splitTextLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

Windows1252Text readWindows1252Text(const std::string& path) {
    const std::optional<std::string> content = readWholeFile(path);
    if (!content)
        return {TextFileStatus::Unreadable, {}, 0};
    return toWindows1252(*content);
}

Windows1252Lines readWindows1252Lines(const std::string& path) {
    const Windows1252Text read = readWindows1252Text(path);
    Windows1252Lines out{read.status, {}, read.character};
    if (read.status == TextFileStatus::Read)
        for (const std::string_view line : splitTextLines(read.text))
            out.lines.emplace_back(line);
    return out;
}

} // namespace tradumar
