#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "encoding/conversions.h"
#include "pointers/pointer_file.h"

namespace tradumar {

// Where a script lives now. A script with confirmed pointers lives where
// its pointers in the ROM lead: the ROM is the one truth, so an undone
// relocation (the journal puts the pointers back) or one rolled back after a
// crash needs nothing else put right. The room of a place it was moved to
// comes from the pointer file's records.
struct ScriptLocation {
    enum class Status {
        Home,   // at the offset of its file name (no pointers, or they lead there)
        Moved,  // its pointers lead to a recorded place
        Astray, // its pointers disagree or lead where no place is recorded; taken as Home
    };
    std::string script;
    ScriptPlace home;    // from the file name: offset and size
    ScriptPlace current; // offset and room
    Status status = Status::Home;
    std::vector<ScriptPointer> pointers;
};

// The location of one script; nothing for a name that carries no place.
std::optional<ScriptLocation> locateScript(const std::string& script, const PointerFile& file,
                                           std::span<const std::uint8_t> rom);

// The locations of the named scripts and of every script the pointer file
// names, each once, in that order.
std::vector<ScriptLocation> locateScripts(const std::vector<std::string>& scripts, const PointerFile& file,
                                          std::span<const std::uint8_t> rom);

// Sorted, merged ranges: `ranges` without any byte of `taken`.
std::vector<ByteRange> subtractRanges(std::vector<ByteRange> ranges, const std::vector<ByteRange>& taken);
std::vector<ByteRange> mergeRanges(std::vector<ByteRange> ranges);

// The area a script occupies at its current place.
ByteRange occupiedArea(const ScriptLocation& location);

// What is free now: the declared ranges and the home areas of the moved
// scripts, without the area every script occupies now. Derived every time
// from the pointer file and the ROM, never stored.
std::vector<ByteRange> freeSpace(const PointerFile& file, const std::vector<ScriptLocation>& locations);

} // namespace tradumar
