#include "pointers/script_places.h"

#include <algorithm>
#include <unordered_set>

namespace tradumar {

std::optional<ScriptLocation> locateScript(const std::string& script, const PointerFile& file,
                                           std::span<const std::uint8_t> rom) {
    const std::optional<ScriptPlace> home = scriptPlace(script);
    if (!home)
        return std::nullopt;
    ScriptLocation location{script, *home, *home, ScriptLocation::Status::Home, file.pointersOf(script)};
    std::optional<std::int64_t> lead;
    for (const ScriptPointer& p : location.pointers) {
        std::optional<std::int64_t> target;
        if (p.offset >= 0 && p.offset + p.format.size <= static_cast<std::int64_t>(rom.size()))
            target = p.format.offsetOf(p.format.read(
                rom.subspan(static_cast<std::size_t>(p.offset), static_cast<std::size_t>(p.format.size))));
        if (!target || (lead && *lead != *target)) {
            location.status = ScriptLocation::Status::Astray;
            return location;
        }
        lead = target;
    }
    if (!lead || *lead == home->offset)
        return location;
    const std::int32_t room = file.recordedRoom(script, *lead);
    if (room <= 0) {
        location.status = ScriptLocation::Status::Astray;
        return location;
    }
    location.status = ScriptLocation::Status::Moved;
    location.current = {*lead, room};
    return location;
}

std::vector<ScriptLocation> locateScripts(const std::vector<std::string>& scripts, const PointerFile& file,
                                          std::span<const std::uint8_t> rom) {
    std::vector<std::string> names = scripts;
    for (const ScriptPointers& s : file.scripts)
        names.push_back(s.script);
    std::vector<ScriptLocation> out;
    std::unordered_set<std::string_view> seen;
    for (const std::string& name : names) {
        if (!seen.insert(name).second)
            continue;
        if (std::optional<ScriptLocation> location = locateScript(name, file, rom))
            out.push_back(std::move(*location));
    }
    return out;
}

std::vector<ByteRange> mergeRanges(std::vector<ByteRange> ranges) {
    std::sort(ranges.begin(), ranges.end(),
              [](const ByteRange& a, const ByteRange& b) { return a.first < b.first; });
    std::vector<ByteRange> out;
    for (const ByteRange& r : ranges) {
        if (!out.empty() && r.first <= out.back().last + 1)
            out.back().last = std::max(out.back().last, r.last);
        else
            out.push_back(r);
    }
    return out;
}

std::vector<ByteRange> subtractRanges(std::vector<ByteRange> ranges, const std::vector<ByteRange>& taken) {
    std::vector<ByteRange> out = mergeRanges(std::move(ranges));
    for (const ByteRange& t : mergeRanges(taken)) {
        std::vector<ByteRange> next;
        for (const ByteRange& r : out) {
            if (t.last < r.first || t.first > r.last) {
                next.push_back(r);
                continue;
            }
            if (r.first < t.first)
                next.push_back({r.first, t.first - 1});
            if (t.last < r.last)
                next.push_back({t.last + 1, r.last});
        }
        out = std::move(next);
    }
    return out;
}

ByteRange occupiedArea(const ScriptLocation& location) {
    return {location.current.offset, location.current.offset + location.current.size - 1};
}

std::vector<ByteRange> freeSpace(const PointerFile& file, const std::vector<ScriptLocation>& locations) {
    std::vector<ByteRange> free = file.freeRanges;
    std::vector<ByteRange> taken;
    for (const ScriptLocation& l : locations) {
        if (l.status == ScriptLocation::Status::Moved)
            free.push_back({l.home.offset, l.home.offset + l.home.size - 1});
        taken.push_back(occupiedArea(l));
    }
    return subtractRanges(std::move(free), taken);
}

} // namespace tradumar
