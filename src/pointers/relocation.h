#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "insertion/insert_all.h"
#include "insertion/insertion_journal.h"
#include "pointers/script_places.h"

namespace tradumar {

// Where a script's new bytes go.
struct Placement {
    enum class Kind {
        InPlace,    // they fit where the script lives now (or its home, when it lives there)
        Move,       // to free space, or back home: bytes, pointers and filler in one step
        NoPointers, // too long for its place and no confirmed pointers
        NoRoom,     // too long for its place and no free range takes it (with its pointers)
        Astray,     // too long, and its pointers do not lead to it: they are not rewritten
    };
    std::string script;
    Kind kind = Kind::InPlace;
    ScriptPlace from;             // where it lives now: offset and room
    ScriptPlace to;               // for InPlace and Move: offset and room there
    std::size_t bytes = 0;        // its encoded size
    std::size_t pointers = 0;     // rewritten, for Move
    std::vector<RomWrite> writes; // the new bytes, then each pointer, then the filler over the old place

    bool writable() const { return kind == Kind::InPlace || kind == Kind::Move; }
};

// Decides where a script's encoded bytes go. They stay in place when they
// fit its room; otherwise a script with pointers goes back home when it fits
// there and home is free, else to the first free range where it fits at the
// project's alignment and every pointer can reach it. `free` is free space
// now (freeSpace) and `locations` every script's, so filling the old place
// spares bytes another script occupies.
Placement planPlacement(const ScriptLocation& location, const Bytes& bytes, const PointerFile& file,
                        std::span<const std::uint8_t> rom, const std::vector<ByteRange>& free,
                        const std::vector<ScriptLocation>& locations);

// Placements for every insertable script of an insert-all plan (Fits and
// OverBudget), in its order, each seeing the free space the ones before it
// took and released. Without `relocate` a script too long for its place is
// placed in place as before (the translator accepted it over budget).
std::vector<Placement> planPlacements(const InsertAllPlan& plan, const PointerFile& file,
                                      std::span<const std::uint8_t> rom,
                                      const std::vector<std::string>& scripts, bool relocate);

struct PlacementOutcome : StepOutcome {
    int pointerFileError = 0; // errno of recording the new places; nothing was written then
};

// Writes the placements that can be written as ONE journalled step (one
// "Deshacer" reverses them all). First the rooms of the new places are
// recorded in the pointer file (their records mean nothing until the
// pointers in the ROM lead there), then the journal step writes bytes,
// pointers and filler. A stop asked through keepGoing falls between
// scripts, never inside one. A caller that already holds the journal's
// lock passes it.
PlacementOutcome writePlacements(const ProjectFiles& files, const std::string& pointerFilePath,
                                 PointerFile& file, const std::vector<Placement>& placements,
                                 const KeepGoing& keepGoing, FileOps& ops, std::int64_t now,
                                 JournalLock* heldLock = nullptr);

} // namespace tradumar
