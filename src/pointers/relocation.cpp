#include "pointers/relocation.h"

#include <algorithm>
#include <unordered_map>

namespace tradumar {

namespace {

bool contains(const std::vector<ByteRange>& ranges, const ByteRange& area) {
    return std::any_of(ranges.begin(), ranges.end(),
                       [&](const ByteRange& r) { return r.first <= area.first && area.last <= r.last; });
}

ByteRange areaOf(const ScriptPlace& place) {
    return {place.offset, place.offset + place.size - 1};
}

// The pointers' new bytes for a script at `offset`; nothing when one cannot reach it.
std::optional<std::vector<RomWrite>> repoint(const ScriptLocation& location, std::int64_t offset,
                                             std::span<const std::uint8_t> rom) {
    std::vector<RomWrite> writes;
    for (const ScriptPointer& p : location.pointers) {
        const auto at = static_cast<std::size_t>(p.offset);
        const std::uint64_t old = p.format.read(rom.subspan(at, static_cast<std::size_t>(p.format.size)));
        const std::optional<std::uint64_t> value = p.format.valueOf(offset, old);
        if (!value)
            return std::nullopt;
        writes.push_back({location.script, p.offset, p.format.write(*value)});
    }
    return writes;
}

// The old place's bytes that no other script occupies and the new place does not cover.
std::vector<ByteRange> vacated(const ScriptLocation& location, const ScriptPlace& to,
                               const std::vector<ScriptLocation>& locations) {
    const ByteRange old = occupiedArea(location);
    std::vector<ByteRange> others{areaOf(to)};
    for (const ScriptLocation& l : locations)
        if (const ByteRange area = occupiedArea(l);
            l.script != location.script && area.first <= old.last && old.first <= area.last)
            others.push_back(area);
    return subtractRanges({old}, others);
}

} // namespace

Placement planPlacement(const ScriptLocation& location, const Bytes& bytes, const PointerFile& file,
                        std::span<const std::uint8_t> rom, const std::vector<ByteRange>& free,
                        const std::vector<ScriptLocation>& locations) {
    Placement p;
    p.script = location.script;
    p.from = location.current;
    p.bytes = bytes.size();
    const auto size = static_cast<std::int64_t>(bytes.size());
    const auto stay = [&] {
        p.kind = Placement::Kind::InPlace;
        p.to = location.current;
        p.writes = {{location.script, location.current.offset, bytes}};
        return p;
    };
    const auto move = [&](const ScriptPlace& to, std::vector<RomWrite> pointerWrites) {
        p.kind = Placement::Kind::Move;
        p.to = to;
        p.pointers = pointerWrites.size();
        p.writes = {{location.script, to.offset, bytes}};
        p.writes.insert(p.writes.end(), pointerWrites.begin(), pointerWrites.end());
        for (const ByteRange& r : vacated(location, to, locations))
            p.writes.push_back(
                {location.script, r.first, Bytes(static_cast<std::size_t>(r.size()), file.filler)});
        return p;
    };

    if (location.status == ScriptLocation::Status::Moved && size <= location.home.size &&
        contains(free, areaOf(location.home)))
        if (auto pointerWrites = repoint(location, location.home.offset, rom))
            return move(location.home, std::move(*pointerWrites));
    if (size <= location.current.size)
        return stay();
    if (location.pointers.empty()) {
        p.kind = Placement::Kind::NoPointers;
        return p;
    }
    if (location.status == ScriptLocation::Status::Astray) {
        p.kind = Placement::Kind::Astray;
        return p;
    }
    const std::int64_t alignment = std::max(1, file.alignment);
    for (const ByteRange& r : free) {
        const std::int64_t start = (r.first + alignment - 1) / alignment * alignment;
        if (size == 0 || start + size - 1 > r.last)
            continue;
        // A place the script held before keeps at least its recorded room.
        const std::int64_t room = std::max<std::int64_t>(size, file.recordedRoom(location.script, start));
        if (start + room - 1 > r.last || start + room > static_cast<std::int64_t>(rom.size()) ||
            room > 0x7FFFFFFF)
            continue;
        if (auto pointerWrites = repoint(location, start, rom))
            return move({start, static_cast<std::int32_t>(room)}, std::move(*pointerWrites));
    }
    p.kind = Placement::Kind::NoRoom;
    return p;
}

std::vector<Placement> planPlacements(const InsertAllPlan& plan, const PointerFile& file,
                                      std::span<const std::uint8_t> rom,
                                      const std::vector<std::string>& scripts, bool relocate) {
    std::vector<std::string> names = scripts;
    for (const PlannedScript& s : plan.scripts)
        names.push_back(s.fileName);
    std::vector<ScriptLocation> locations = locateScripts(names, file, rom);
    std::unordered_map<std::string_view, std::size_t> indexOf;
    for (std::size_t i = 0; i < locations.size(); ++i)
        indexOf.emplace(locations[i].script, i);
    std::vector<ByteRange> free = freeSpace(file, locations);
    PointerFile working = file; // gains the rooms of the places taken so far
    std::vector<Placement> out;
    for (const PlannedScript& s : plan.scripts) {
        if (!s.insertable(true))
            continue;
        const auto found = indexOf.find(s.fileName);
        if (found == indexOf.end())
            continue;
        const auto it = locations.begin() + static_cast<std::ptrdiff_t>(found->second);
        Placement p = planPlacement(*it, s.bytes, working, rom, free, locations);
        if (!relocate && p.kind != Placement::Kind::InPlace) {
            p.kind = Placement::Kind::InPlace;
            p.to = it->current;
            p.pointers = 0;
            p.writes = {{s.fileName, it->current.offset, s.bytes}};
        }
        if (p.kind == Placement::Kind::Move) {
            std::vector<ByteRange> released = free;
            for (std::size_t w = 1 + p.pointers; w < p.writes.size(); ++w)
                released.push_back(
                    {p.writes[w].offset,
                     p.writes[w].offset + static_cast<std::int64_t>(p.writes[w].bytes.size()) - 1});
            free = subtractRanges(std::move(released), {areaOf(p.to)});
            const bool home = p.to.offset == it->home.offset;
            if (!home)
                working.recordPlace({s.fileName, p.to.offset, p.to.size});
            it->current = p.to;
            it->status = home ? ScriptLocation::Status::Home : ScriptLocation::Status::Moved;
        }
        out.push_back(std::move(p));
    }
    return out;
}

PlacementOutcome writePlacements(const ProjectFiles& files, const std::string& pointerFilePath,
                                 PointerFile& file, const std::vector<Placement>& placements,
                                 const KeepGoing& keepGoing, FileOps& ops, std::int64_t now,
                                 JournalLock* heldLock) {
    PlacementOutcome outcome;
    int error = 0;
    JournalLock own;
    if (heldLock == nullptr)
        own = JournalLock::acquire(ops, files.journal, &error);
    JournalLock& lock = heldLock != nullptr ? *heldLock : own;
    if (!lock.held()) {
        outcome.error = error;
        outcome.file = files.journal;
        return outcome;
    }
    PointerFile updated = file;
    std::vector<RomWrite> writes;
    std::vector<std::size_t> firstWrites; // where each written placement starts
    for (const Placement& p : placements) {
        if (!p.writable())
            continue;
        if (p.kind == Placement::Kind::Move) {
            const std::optional<ScriptPlace> home = scriptPlace(p.script);
            if (!home || home->offset != p.to.offset)
                updated.recordPlace({p.script, p.to.offset, p.to.size});
        }
        firstWrites.push_back(writes.size());
        writes.insert(writes.end(), p.writes.begin(), p.writes.end());
    }
    if (updated != file) {
        if ((outcome.pointerFileError = savePointerFile(pointerFilePath, updated, ops)) != 0)
            return outcome;
        file = std::move(updated);
    }
    const KeepGoing betweenScripts = [&](std::size_t done, std::size_t) {
        const auto it = std::find(firstWrites.begin(), firstWrites.end(), done);
        if (!keepGoing || it == firstWrites.end())
            return true;
        return keepGoing(static_cast<std::size_t>(it - firstWrites.begin()), firstWrites.size());
    };
    static_cast<StepOutcome&>(outcome) = writeStep(files, writes, betweenScripts, ops, now, &lock);
    return outcome;
}

} // namespace tradumar
