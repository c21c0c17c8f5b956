#pragma once

#include <string>
#include <vector>

#include "insertion/insert_all.h"
#include "pointers/relocation.h"

namespace tradumar {

// Why a script too long for its place cannot move, for the insertion
// reports: "no tiene punteros confirmados", "no hay espacio libre donde quepa".
std::string stayReasonText(Placement::Kind kind);

// What an insertion does with one script, as the command line prints it and
// the insert-all report shows it.
struct PlacementLine {
    bool fits = true; // written where it goes without going over its room
    std::string text; // "se reubica en 0x300000 (120 bytes, 2 puntero(s))"; for one that
                      // does not fit: "excede en 8 byte(s) y no se puede reubicar: ..."
};
PlacementLine placementLine(const Placement& placement);

// The placement of a script accepted over its room: its bytes written where
// it lives now, nothing moved.
void acceptInPlace(Placement& placement, const Bytes& bytes);


// Where a script lives and its room, for the status: "En 0x18060, con sitio
// para 55 bytes." or, once moved, "Reubicado en 0x300000 (su lugar original
// es 0x18060), con sitio para 96 bytes."
std::string locationText(const ScriptLocation& location);

// The sentence of a single insertion that moved a script.
std::string relocationDoneText(const Placement& placement);

} // namespace tradumar
