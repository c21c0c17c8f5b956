// Fuzzes the width table reader and the text-box check over what it reads.
//
// Any bytes (UTF-8, or the legacy code page the first byte's lowest bit
// chooses) give a table whose widths lie between 0 and the largest allowed,
// and whose bad lines are numbered in order inside the file. The check of the
// same text, in pixels and in characters, marks box lines whose offsets lie
// on character boundaries inside the text and agree with their columns, and
// in characters measures a line exactly as "Largo de línea" does. A violation
// aborts.

#include "../fuzz_targets.h"
#include "../fuzz_support.h"

#include <cstdio>
#include <cstdlib>

#include "boxes/text_boxes.h"
#include "boxes/width_table.h"
#include "encoding/text_file.h"
#include "workspace/line_status.h"

namespace {

using namespace tradumar;

void check(bool condition, const char* what) {
    tradumar::fuzz::require(condition, "width table", what);
}

void checkMarks(std::string_view text, const TextBoxCheck& result, int lineLimit, int boxLimit) {
    int previous = -1;
    for (const LineExcess& e : result.lines) {
        check(e.start <= e.end && e.end <= text.size(), "a mark outside the text");
        check(!firstInvalidUtf8(text.substr(0, e.start)) || firstInvalidUtf8(text),
              "a mark inside a character");
        check(e.column < e.endColumn && e.length > lineLimit, "a line marked that fits");
        check(e.line >= previous, "lines marked out of order");
        if (!firstInvalidUtf8(text))
            check(static_cast<int>(characterCount(text.substr(e.start, e.end - e.start))) ==
                      e.endColumn - e.column,
                  "offsets and columns disagree");
        previous = e.line;
    }
    for (const BoxExcess& b : result.boxes)
        check(b.lines > boxLimit && b.firstExtraLine >= b.firstLine && b.start <= b.end &&
                  b.end <= text.size(),
              "a box marked that fits");
}

} // namespace

int fuzzWidthTable(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::optional<std::string> decoded = tradumar::fuzz::asTextFile(input);
    if (!decoded)
        return 0;
    const std::string& text = *decoded;
    const WidthTableRead read = parseWidthTable(text);
    const int lines = static_cast<int>(splitTextLines(text).size());
    for (std::size_t i = 0; i < read.badLines.size(); ++i)
        check(read.badLines[i] >= 1 && read.badLines[i] <= lines &&
                  (i == 0 || read.badLines[i - 1] < read.badLines[i]),
              "bad lines out of order or outside the file");
    for (std::size_t i = 0; i < text.size();) {
        const auto c = decodeUtf8At(text, i);
        const int width = read.table.widthOf(c ? c->first : U'?');
        check(width >= 0 && width <= kMaxCharacterWidth, "a width out of range");
        i += c ? c->second : 1;
    }

    const int lineLimit = size > 1 ? data[1] % 40 + 1 : 1;
    const int boxLimit = size > 2 ? data[2] % 4 : 0;
    const TextBoxLimits limits{lineLimit, boxLimit, {"<01>"}, {}};
    checkMarks(text, checkTextBoxes(text, {limits, U'<', U'>', &read.table}), lineLimit, boxLimit);
    // In characters, without breaks, a line is measured as the line status does.
    const TextBoxLimits plain{lineLimit, 0, {}, {}};
    const TextBoxCheck result = checkTextBoxes(text, {plain, U'<', U'>', nullptr});
    checkMarks(text, result, lineLimit, 0);
    std::size_t next = 0;
    int number = 0;
    for (const std::string_view line : splitTextLines(text)) {
        if (line.find("<END>") == std::string_view::npos) {
            const int length = static_cast<int>(characterCount(stripRawBlocks(line, U'<', U'>')));
            const bool marked = next < result.lines.size() && result.lines[next].line == number;
            check(marked == (length > lineLimit), "a line marked or missed against the line status");
            check(!marked || result.lines[next].length == length, "a line measured unlike the line status");
        }
        while (next < result.lines.size() && result.lines[next].line <= number)
            ++next;
        ++number;
    }
    return 0;
}
