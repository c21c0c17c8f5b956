#include "boxes/width_table.h"

#include <algorithm>

#include "encoding/unicode_text.h"

namespace tradumar {

int WidthTable::widthOf(char32_t c) const {
    if (c < kDirect) {
        const int width = m_direct[c];
        return width >= 0 ? width : m_default.value_or(m_widest);
    }
    if (const auto found = m_characters.find(c); found != m_characters.end())
        return found->second;
    return m_default.value_or(m_widest);
}

int WidthTable::widthOfBlock(std::string_view block) const {
    const auto found = m_blocks.find(std::string(block));
    return found != m_blocks.end() ? found->second : 0;
}

void WidthTable::add(std::string_view key, int width) {
    if (key.empty()) {
        if (!m_default)
            m_default = width;
        return;
    }
    const auto decoded = decodeUtf8At(key, 0);
    if (decoded && decoded->second == key.size()) {
        if (m_characters.emplace(decoded->first, width).second) {
            m_widest = std::max(m_widest, width);
            if (decoded->first < kDirect)
                m_direct[decoded->first] = width;
        }
    } else {
        m_blocks.emplace(std::string(key), width);
    }
}

namespace {

// The number after the last "=", 0 to kMaxCharacterWidth, blanks after it allowed.
std::optional<int> widthAfter(std::string_view digits) {
    while (!digits.empty() && (digits.back() == ' ' || digits.back() == '\t'))
        digits.remove_suffix(1);
    if (digits.empty() || digits.size() > 4)
        return std::nullopt;
    int value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

WidthTableRead parseWidthTable(std::string_view text) {
    WidthTableRead read;
    int number = 0;
    for (const std::string_view line : splitTextLines(text)) {
        ++number;
        if (line.find_first_not_of(" \t") == std::string_view::npos)
            continue;
        const std::size_t sign = line.rfind('=');
        const std::optional<int> width =
            sign == std::string_view::npos ? std::nullopt : widthAfter(line.substr(sign + 1));
        const std::string_view key = sign == std::string_view::npos ? line : line.substr(0, sign);
        if (line.front() == '#' && !(width && key == "#"))
            continue;
        if (!width) {
            read.badLines.push_back(number);
            continue;
        }
        read.table.add(key, *width);
    }
    return read;
}

WidthTableRead readWidthTable(const std::string& path, LegacyCodePage legacy) {
    const DecodedText file = readTextFile(path, legacy);
    if (file.status != TextFileStatus::Read) {
        WidthTableRead read;
        read.status = file.status;
        return read;
    }
    return parseWidthTable(file.text);
}

} // namespace tradumar
