#include "encoding/text_file.h"

#include <optional>

#include "common/file_io.h"

namespace tradumar {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

DecodedText undecodable(std::string_view fileBytes, std::size_t offset) {
    const unsigned char byte = offset < fileBytes.size() ? static_cast<unsigned char>(fileBytes[offset]) : 0;
    return {TextFileStatus::Undecodable, {}, offset, byte};
}

} // namespace

DecodedText decodeTextFile(std::string_view fileBytes, LegacyCodePage legacy) {
    if (fileBytes.starts_with(kByteOrderMark)) {
        const std::string_view rest = fileBytes.substr(kByteOrderMark.size());
        if (const std::optional<std::size_t> bad = firstInvalidUtf8(rest))
            return undecodable(fileBytes, *bad + kByteOrderMark.size());
        return {TextFileStatus::Read, toNfc(rest), 0, 0};
    }
    if (!firstInvalidUtf8(fileBytes))
        return {TextFileStatus::Read, toNfc(fileBytes), 0, 0};
    LegacyDecoding decoded = decodeLegacy(fileBytes, legacy);
    if (!decoded.text)
        return undecodable(fileBytes, decoded.badOffset);
    return {TextFileStatus::Read, toNfc(*decoded.text), 0, 0};
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

DecodedText readTextFile(const std::string& path, LegacyCodePage legacy) {
    const std::optional<std::string> content = readWholeFile(path);
    if (!content)
        return {TextFileStatus::Unreadable, {}, 0, 0};
    return decodeTextFile(*content, legacy);
}

DecodedLines readTextFileLines(const std::string& path, LegacyCodePage legacy) {
    const DecodedText read = readTextFile(path, legacy);
    DecodedLines out{read.status, {}, read.badOffset, read.badByte};
    if (read.status == TextFileStatus::Read)
        for (const std::string_view line : splitTextLines(read.text))
            out.lines.emplace_back(line);
    return out;
}

std::string textFileBytes(std::string_view utf8, LegacyCodePage legacy) {
    std::optional<std::string> encoded;
    if (legacy == LegacyCodePage::Windows1252)
        encoded = toWindows1252(utf8);
    else if ((encoded = utf8ToEncoding(utf8, "windows-31j")) && decodeLegacy(*encoded, legacy).text != utf8)
        encoded.reset(); // a character the page maps to another one on the way back
    // Legacy bytes that happen to be well-formed UTF-8 ("Ã©" in Windows-1252)
    // or to start with its byte-order mark ("ï»¿") would be read back as
    // UTF-8; such a text is written as UTF-8 instead.
    if (encoded && !encoded->starts_with(kByteOrderMark) && (*encoded == utf8 || firstInvalidUtf8(*encoded)))
        return std::move(*encoded);
    std::string out(kByteOrderMark);
    out += utf8;
    return out;
}

} // namespace tradumar
