#include "workspace/line_status.h"

#include "encoding/unicode_text.h"

namespace tradumar {

std::string stripRawBlocks(std::string_view line, char32_t leftEnclosure, char32_t rightEnclosure) {
    const std::string left = utf8Of(leftEnclosure);
    const std::string right = utf8Of(rightEnclosure);
    std::string result;
    result.reserve(line.size());
    for (std::size_t i = 0; i < line.size();) {
        if (line.compare(i, left.size(), left) != 0) {
            const std::size_t length = utf8SequenceLength(static_cast<unsigned char>(line[i]));
            result.append(line.substr(i, length));
            i += length;
            continue;
        }
        // The search starts at the left enclosure itself.
        const std::size_t close = line.find(right, i);
        i = close != std::string_view::npos ? close + right.size() : i + left.size();
    }
    return result;
}

} // namespace tradumar
