// Reads arbitrary file contents as the table, script and translation readers
// do (UTF-8, or Windows-1252 / Shift-JIS, any line ends) and checks what
// comes out, and that writing it back loses nothing.

#include "../fuzz_targets.h"
#include "../fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "encoding/text_file.h"

namespace {

void check(bool condition, const char* what) {
    tradumar::fuzz::require(condition, "text file", what);
}

bool isAscii(std::string_view bytes) {
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

int fuzzTextFile(const std::uint8_t* data, std::size_t size) {
    using namespace tradumar;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    for (const LegacyCodePage legacy : {LegacyCodePage::Windows1252, LegacyCodePage::ShiftJis}) {
        const DecodedText read = decodeTextFile(bytes, legacy);
        if (isAscii(bytes))
            check(read.status == TextFileStatus::Read && read.text == bytes, "ASCII is kept as it is");
        if (read.status != TextFileStatus::Read) {
            check(read.status == TextFileStatus::Undecodable, "only decoding can fail in memory");
            check(read.badOffset < bytes.size(), "the bad byte lies in the file");
            check(static_cast<unsigned char>(bytes[read.badOffset]) == read.badByte, "the bad byte is named");
            check(read.text.empty(), "nothing is kept of a file that does not decode");
            check(legacy == LegacyCodePage::ShiftJis || bytes.starts_with("\xEF\xBB\xBF"),
                  "Windows-1252 decodes every byte");
            continue;
        }
        check(!firstInvalidUtf8(read.text), "the text is UTF-8");
        check(toNfc(read.text) == read.text, "the text is in NFC");
        // What the program writes reads back as the same text.
        for (const LegacyCodePage page : {LegacyCodePage::Windows1252, LegacyCodePage::ShiftJis})
            check(decodeTextFile(textFileBytes(read.text, page), page).text == read.text,
                  "write and read back");

        // Lines never hold a line end, and joining them with CR LF and
        // splitting again gives the same lines.
        const auto lines = splitTextLines(read.text);
        std::string joined;
        for (const std::string_view line : lines) {
            check(line.find_first_of("\r\n") == std::string_view::npos, "no line end inside a line");
            joined += line;
            joined += "\r\n";
        }
        check(splitTextLines(joined) == lines, "CR LF round trip");
    }
    return 0;
}
