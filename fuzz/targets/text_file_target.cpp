// Reads arbitrary file contents as the table, script and translation readers
// do (UTF-8 or Windows-1252, any line ends) and checks what comes out.

#include "../fuzz_targets.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "encoding/text_file.h"

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "text file invariant broken: %s\n", what);
        std::abort();
    }
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

    const Windows1252Text read = toWindows1252(bytes);
    if (isAscii(bytes))
        check(read.status == TextFileStatus::Read && read.text == bytes, "ASCII is kept as it is");
    if (read.status == TextFileStatus::Read) {
        // Conversion only ever shortens: each character becomes one byte.
        check(read.text.size() <= bytes.size(), "no longer than the file");
        check(read.character == 0, "no character named for a file that was read");
    } else {
        check(read.status == TextFileStatus::NotWindows1252, "only conversion can fail in memory");
        check(read.character >= 0x80, "an unfit character lies beyond ASCII");
        check(read.text.empty(), "nothing is kept of a file that does not fit");
    }

    // Lines never hold a line end, and joining them with CR LF and splitting
    // again gives the same lines.
    const auto lines = splitTextLines(read.text);
    std::string joined;
    for (const std::string_view line : lines) {
        check(line.find_first_of("\r\n") == std::string_view::npos, "no line end inside a line");
        joined += line;
        joined += "\r\n";
    }
    check(splitTextLines(joined) == lines, "CR LF round trip");
    return 0;
}
