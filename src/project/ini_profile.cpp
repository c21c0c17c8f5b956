#include "project/ini_profile.h"

#include <cstddef>
#include <exception>
#include <optional>
#include <vector>

#include "common/file_io.h"

namespace tradumar {
namespace {

// The profile reader hands back at most this many characters of a value.
constexpr std::size_t kMaxValueLength = 749;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view trimLeft(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

// Only ASCII letters fold: the bytes above 0x7F are Windows-1252 and must
// not go through the C locale (and never through a negative char).
char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldAscii(a[i]) != foldAscii(b[i]))
            return false;
    }
    return true;
}

enum class LineKind { Blank, Header, Entry };

// One line of the file as offsets into its content, so a writer can change a
// single line and copy everything else unchanged.
struct IniLine {
    std::size_t begin = 0;    // first character of the line as it stands
    std::size_t end = 0;      // one past its last character, before the break
    std::size_t breakEnd = 0; // one past the run of CR and LF that ends it
    LineKind kind = LineKind::Blank;
    std::string_view name;                 // section or key name, trimmed
    std::optional<std::string_view> value; // trimmed; none without "="
};

IniLine classify(std::string_view content, std::size_t begin, std::size_t end, std::size_t breakEnd) {
    IniLine line;
    line.begin = begin;
    line.end = end;
    line.breakEnd = breakEnd;
    const std::string_view text = trim(content.substr(begin, end - begin));
    if (text.empty())
        return line;
    if (text.front() == '[') {
        const std::size_t close = text.rfind(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::Header;
            line.name = trim(text.substr(1, close - 1));
            return line;
        }
    }
    line.kind = LineKind::Entry;
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        line.name = text;
    } else {
        line.name = trim(text.substr(0, equals));
        line.value = trim(text.substr(equals + 1));
    }
    return line;
}

// A line ends at CR, LF or any run of them, so the file holds no empty lines
// in this list; lines of blanks only come out as LineKind::Blank.
std::vector<IniLine> splitLines(std::string_view content) {
    std::vector<IniLine> lines;
    std::size_t pos = 0;
    while (pos < content.size() && isLineBreak(content[pos]))
        ++pos;
    while (pos < content.size()) {
        const std::size_t begin = pos;
        while (pos < content.size() && !isLineBreak(content[pos]))
            ++pos;
        const std::size_t end = pos;
        while (pos < content.size() && isLineBreak(content[pos]))
            ++pos;
        lines.push_back(classify(content, begin, end, pos));
    }
    return lines;
}

// Where a section lives in the line list: its header and the lines up to the
// next header.
struct SectionSpan {
    std::size_t header = 0;
    std::size_t end = 0; // one past the last line belonging to the section
};

std::optional<SectionSpan> findSection(const std::vector<IniLine>& lines, std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != LineKind::Header || !equalsNoCase(lines[i].name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && lines[end].kind != LineKind::Header)
            ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const std::vector<IniLine>& lines, SectionSpan span,
                                   std::string_view key) {
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        if (lines[i].kind == LineKind::Entry && equalsNoCase(lines[i].name, key))
            return i;
    }
    return std::nullopt;
}

std::string_view stripOneQuotePair(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Length of the first line break of a run: CR LF counts as one break.
std::size_t firstBreakLength(std::string_view content, std::size_t at) {
    if (content[at] == '\r' && at + 1 < content.size() && content[at + 1] == '\n')
        return 2;
    return 1;
}

std::string lookUp(std::string_view content, std::string_view section, std::string_view key) {
    const std::vector<IniLine> lines = splitLines(content);
    const std::optional<SectionSpan> span = findSection(lines, section);
    if (!span)
        return {};
    const std::optional<std::size_t> keyLine = findKey(lines, *span, key);
    if (!keyLine || !lines[*keyLine].value)
        return {};
    std::string_view value = stripOneQuotePair(*lines[*keyLine].value);
    // The limit counts characters; UTF-8 is cut only between two of them.
    std::size_t characters = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if ((static_cast<unsigned char>(value[i]) & 0xC0) != 0x80 && ++characters > kMaxValueLength) {
            value = value.substr(0, i);
            break;
        }
    }
    return std::string(value);
}

std::string withValueSet(const std::string& content, std::string_view section, std::string_view key,
                         std::string_view value) {
    const std::string entry = std::string(key) + "=" + std::string(value);
    const std::vector<IniLine> lines = splitLines(content);
    const std::optional<SectionSpan> span = findSection(lines, section);

    if (!span) {
        std::string result = content;
        if (!result.empty() && !isLineBreak(result.back()))
            result += "\r\n";
        result += "[" + std::string(section) + "]\r\n" + entry + "\r\n";
        return result;
    }

    if (const std::optional<std::size_t> keyLine = findKey(lines, *span, key)) {
        const IniLine& line = lines[*keyLine];
        if (line.value && *line.value == value)
            return content;
        std::string result = content.substr(0, line.begin);
        result += std::string(line.name) + "=" + std::string(value);
        result += content.substr(line.end);
        return result;
    }

    std::size_t last = span->header;
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
        if (lines[i].kind != LineKind::Blank)
            last = i;
    }
    const IniLine& anchor = lines[last];
    std::string result;
    if (anchor.breakEnd == anchor.end) {
        // The section's last line is also the file's last, without a break.
        result = content.substr(0, anchor.end) + "\r\n" + entry + "\r\n" + content.substr(anchor.end);
    } else {
        // Blank lines after the section's last entry stay where they were,
        // between the new entry and the next section.
        const std::size_t at = anchor.end + firstBreakLength(content, anchor.end);
        result = content.substr(0, at) + entry + "\r\n" + content.substr(at);
    }
    return result;
}

std::string asciiLower(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = foldAscii(c);
    return result;
}

std::string asciiUpper(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = upperAscii(c);
    return result;
}

} // namespace

std::string iniValueIn(std::string_view content, std::string_view section, std::string_view key) {
    const std::string lowerKey = asciiLower(trim(key));
    return lookUp(content, trim(section), lowerKey);
}

DecodedText decodeIniFile(std::string_view fileBytes) {
    // The code page is named in the file itself, in ASCII, so it can be read
    // before the rest is decoded.
    const LegacyCodePage legacy = legacyCodePageNamed(iniValueIn(fileBytes, "Encoding", "Legacy"))
                                      .value_or(LegacyCodePage::Windows1252);
    return decodeTextFile(fileBytes, legacy);
}

std::string readIniValue(std::string_view section, std::string_view key, const std::string& filePath) {
    const std::optional<std::string> content = readWholeFile(filePath);
    if (!content)
        return {};
    const DecodedText text = decodeIniFile(*content);
    return text.status == TextFileStatus::Read ? iniValueIn(text.text, section, key) : std::string();
}

std::string withIniValue(const std::string& content, std::string_view section, std::string_view key,
                         std::string_view value) {
    return withValueSet(content, trim(section), asciiUpper(trim(key)), trimLeft(value));
}

bool writeIniValue(std::string_view section, std::string_view key, std::string_view value,
                   const std::string& filePath) {
    // The file is text: a name or value that is not UTF-8 could not be read back.
    if (firstInvalidUtf8(section) || firstInvalidUtf8(key) || firstInvalidUtf8(value))
        return false;
    std::string content;
    if (std::optional<std::string> existing = readWholeFile(filePath)) {
        DecodedText text = decodeIniFile(*existing);
        if (text.status != TextFileStatus::Read)
            return false; // rewriting it would lose what cannot be read
        content = std::move(text.text);
    } else if (pathExists(filePath)) {
        // There is something we cannot read; writing a fresh file over it
        // would throw its content away.
        return false;
    }
    const std::string updated = withIniValue(content, section, key, value);
    if (updated == content)
        return true; // same value: the file is left untouched
    const LegacyCodePage legacy =
        legacyCodePageNamed(iniValueIn(updated, "Encoding", "Legacy")).value_or(LegacyCodePage::Windows1252);
    return writeFileAtomically(filePath, textFileBytes(updated, legacy)) == 0;
}

} // namespace tradumar
