#include "encoding/text_file.h"

#include <array>
#include <optional>

#include "common/file_io.h"

namespace tradumar {
namespace {

// The characters Windows-1252 keeps at 80 to 9F. Zero marks the five bytes
// the code page leaves undefined: they stand for the control of the same
// value, as everywhere else in the program.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::optional<char> windows1252Byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        const char32_t shown = kHighControls[i] == 0 ? static_cast<char32_t>(0x80 + i) : kHighControls[i];
        if (shown == c)
            return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

// One UTF-8 sequence at `at`: its character and length, or nothing when the
// bytes there are not well-formed UTF-8 (overlong forms and surrogates included).
std::optional<std::pair<char32_t, std::size_t>> decodeUtf8(std::string_view bytes, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return std::pair<char32_t, std::size_t>{lead, 1};
    std::size_t length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (at + length > bytes.size())
        return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::nullopt;
    return std::pair<char32_t, std::size_t>{c, length};
}

bool isUtf8WithMultiByte(std::string_view bytes) {
    bool multiByte = false;
    for (std::size_t at = 0; at < bytes.size();) {
        const auto decoded = decodeUtf8(bytes, at);
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
        const auto decoded = decodeUtf8(fileBytes, at);
        const char32_t c = decoded ? decoded->first : char32_t{0xFFFD};
        const std::optional<char> converted = decoded ? windows1252Byte(c) : std::nullopt;
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
