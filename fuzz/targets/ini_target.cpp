// Fuzzes the INI profile reader and writer on real files.
//
// The input is split at NUL bytes into: file content, section, key, value,
// and a second section and key that must not be disturbed by the write.
// Every property checked here holds for any input; a violation aborts.

#include "../fuzz_targets.h"
#include "../fuzz_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "encoding/unicode_text.h"
#include "project/ini_profile.h"

namespace {

constexpr std::size_t kMaxValueLength = 749;

void check(bool condition, const char* what) {
    tradumar::fuzz::require(condition, "ini profile", what);
}

// A folder of this process's own, so the check for left-over temporary files
// sees only what this target wrote; removed again when the process ends.
class WorkFolder {
public:
    WorkFolder()
        : m_path(std::filesystem::temp_directory_path() /
                 ("tradumar_fuzz_ini_" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~WorkFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

const std::filesystem::path& workFolder() {
    static const WorkFolder folder;
    return folder.path();
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

char fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool sameName(std::string_view a, std::string_view b) {
    a = trim(a);
    b = trim(b);
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

// A section name that survives being written as "[name]" and read back.
bool saneSection(std::string_view name) {
    return !trim(name).empty() && !hasLineBreak(name);
}

// A key that, written as "KEY=value", reads back as the same key and cannot
// be mistaken for a section header.
bool saneKey(std::string_view key) {
    const std::string_view t = trim(key);
    return !t.empty() && t.front() != '[' && t.find('=') == std::string_view::npos && !hasLineBreak(key);
}

// The file is read as text in NFC, and the limit counts characters.
std::string expectedReadBack(std::string_view value) {
    const std::string text = tradumar::toNfc(value);
    std::string_view t = trim(text);
    if (t.size() >= 2 && (t.front() == '"' || t.front() == '\'') && t.back() == t.front()) {
        t = t.substr(1, t.size() - 2);
    }
    std::size_t characters = 0;
    for (std::size_t i = 0; i < t.size(); ++i)
        if ((static_cast<unsigned char>(t[i]) & 0xC0) != 0x80 && ++characters > kMaxValueLength)
            return std::string(t.substr(0, i));
    return std::string(t);
}

std::string fileContent(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void checkOnlyOneFile(const std::filesystem::path& folder) {
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        static_cast<void>(entry);
        ++count;
    }
    check(count == 1, "a temporary file was left behind");
}

} // namespace

int fuzzIniProfile(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (parts.size() < 5) {
        const std::size_t nul = input.find('\0', start);
        if (nul == std::string_view::npos)
            break;
        parts.emplace_back(input.substr(start, nul - start));
        start = nul + 1;
    }
    parts.emplace_back(input.substr(std::min(start, input.size())));
    parts.resize(6);
    const std::string& content = parts[0];
    const std::string& section = parts[1];
    const std::string& key = parts[2];
    const std::string& value = parts[3];
    const std::string& otherSection = parts[4];
    const std::string& otherKey = parts[5];

    const std::filesystem::path folder = workFolder();
    const std::string path = (folder / "fuzz.tpr").string();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
    }

    const std::string otherBefore = tradumar::readIniValue(otherSection, otherKey, path);
    // The limit counts characters: bytes that do not continue a UTF-8 sequence.
    const auto characters = [](const std::string& text) {
        return static_cast<std::size_t>(std::count_if(
            text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    };
    check(characters(otherBefore) <= kMaxValueLength, "a value longer than 749 characters was read");
    check(characters(tradumar::readIniValue(section, key, path)) <= kMaxValueLength,
          "a value longer than 749 characters was read");

    const bool written = tradumar::writeIniValue(section, key, value, path);
    checkOnlyOneFile(folder);

    // With names that contain a line break, "=" or a leading "[", or a value
    // with a line break, the entry written is not the entry asked for (that
    // is how the profile functions behave too); only the general checks apply.
    if (written && saneSection(section) && saneKey(key) && !hasLineBreak(value)) {
        check(tradumar::readIniValue(section, key, path) == expectedReadBack(value),
              "the written value does not read back");
        if (!(sameName(section, otherSection) && sameName(key, otherKey))) {
            check(tradumar::readIniValue(otherSection, otherKey, path) == otherBefore,
                  "writing one key changed another");
        }
        const std::string written = fileContent(path);
        tradumar::writeIniValue(section, key, value, path);
        check(fileContent(path) == written, "writing the same value twice changed the file");
        checkOnlyOneFile(folder);
    }

    std::filesystem::remove(path);
    return 0;
}
