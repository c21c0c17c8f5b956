#include "workspace/line_status.h"

namespace tradumar {

std::string stripRawBlocks(std::string_view line, char leftEnclosure, char rightEnclosure) {
    std::string result;
    result.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != leftEnclosure) {
            result += line[i];
            continue;
        }
        // The search starts at the left enclosure itself.
        const std::size_t close = line.find(rightEnclosure, i);
        if (close != std::string_view::npos)
            i = close;
    }
    return result;
}

} // namespace tradumar
