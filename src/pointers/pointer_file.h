#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_io.h"
#include "encoding/unicode_text.h"
#include "pointers/pointer_format.h"

namespace tradumar {

class FileOps;

// A range of ROM file offsets, both ends included.
struct ByteRange {
    std::int64_t first = 0;
    std::int64_t last = 0;
    std::int64_t size() const { return last - first + 1; }
    bool operator==(const ByteRange&) const = default;
};

// Where pointers lie in the ROM: `count` pointers of `format`, the first at
// `start`, each `step` bytes after the one before.
struct PointerTable {
    std::int64_t start = 0;
    int count = 0;
    int step = 2;
    PointerFormat format;
    bool operator==(const PointerTable&) const = default;
};

// A pointer the translator confirmed (or the extraction found): where it lies
// in the ROM and how its value reads.
struct ScriptPointer {
    std::int64_t offset = 0;
    PointerFormat format;
    bool operator==(const ScriptPointer&) const = default;
};

// A place a script was moved to and the bytes it holds there. The script's
// current place is never stored: it is where its pointers in the ROM lead
// (pointers/script_places.h), so undoing a relocation moves it back with
// no file to put right. These records only remember each place's room.
struct RecordedPlace {
    std::string script;
    std::int64_t offset = 0;
    std::int32_t room = 0;
    bool operator==(const RecordedPlace&) const = default;
};

struct ScriptPointers {
    std::string script; // the script's file name, "18060[55].txt"
    std::vector<ScriptPointer> pointers;
    bool operator==(const ScriptPointers&) const = default;
};

// Pointers and free space of a project, kept in "<project file>.punteros"
// beside it. UTF-8 text, one entry per line; blank lines and lines starting
// with "#" are ignored. Offsets and bytes are hexadecimal (1 to 8 digits, no
// "0x"), counts and sizes decimal. The first other line names the format:
//
//   tradumar-punteros 1
//   formato 3:le:lorom:0:512          the project's pointer format (search)
//   relleno FF                        the byte that fills a vacated area
//   alineacion 2                      where relocated scripts may start (1 to 65536)
//   libre 300000-30FFFF               a range declared free, both ends included
//   tabla 1A000 200 3 3:le:lorom:0:0  a pointer table: start, count, step, format
//   punteros 3:le:lorom:0:0 1A000 1A003 = 18060[55].txt
//                                     pointers of one format of a script (by file name)
//   lugar 300000 60 = 18060[55].txt   a place the script was moved to and its room
//
// Formats are PointerFormat::text(). A script name runs from after "= " to
// the end of the line. A script may have several "punteros" lines and
// several "lugar" lines; its pointers keep the order of the lines.
struct PointerFile {
    PointerFormat format;
    std::uint8_t filler = 0xFF;
    int alignment = 1;
    std::vector<ByteRange> freeRanges;
    std::vector<PointerTable> tables;
    std::vector<ScriptPointers> scripts;
    std::vector<RecordedPlace> places;

    // The confirmed pointers of a script; none when it has no entry.
    std::vector<ScriptPointer> pointersOf(std::string_view script) const;
    // Adds pointers to a script, leaving out those it already has (same offset).
    void addPointers(const std::string& script, const std::vector<ScriptPointer>& pointers);
    // Adds a place unless the same script, offset and room are recorded.
    void recordPlace(const RecordedPlace& place);
    // The largest room recorded for the script at that offset, or 0.
    std::int32_t recordedRoom(std::string_view script, std::int64_t offset) const;

    bool operator==(const PointerFile&) const = default;
};

// "<project file>.punteros"; empty while no project file is known.
std::string pointerFilePathFor(const std::string& projectFilePath);

struct PointerFileLoad {
    enum class Status { Read, Missing, Unreadable, Undecodable, Invalid };
    Status status = Status::Read;
    PointerFile file;   // as read; a default one when Missing
    int line = 0;       // for Invalid: the 1-based line
    std::string reason; // for Invalid: what is wrong with it, in Spanish
    bool ok() const { return status == Status::Read || status == Status::Missing; }
};

// The file's text already decoded (UTF-8). The first wrong line stops the
// reading: a file that is not understood whole is never half used.
PointerFileLoad parsePointerFile(std::string_view text);
// Reads through encoding/text_file.h; a missing file is an empty project.
PointerFileLoad loadPointerFile(const std::string& path);
// "No se pudo leer el archivo de punteros PATH[: línea N: REASON]." for a
// pointer file that cannot be used.
std::string pointerFileFailureText(const std::string& path, const PointerFileLoad& load);
// "No se pudo guardar el archivo de punteros PATH (REASON)." for an errno of savePointerFile.
std::string pointerFileSaveFailureText(const std::string& path, int error);

std::string formatPointerFile(const PointerFile& file);
// Writes the file whole through a temporary file and a rename (ops'
// writeNewFile). 0 or an errno.
int savePointerFile(const std::string& path, const PointerFile& file, FileOps& ops);
int savePointerFile(const std::string& path, const PointerFile& file);

// "inicio-fin" in hexadecimal, both ends included, first <= last.
std::optional<ByteRange> parseByteRange(std::string_view text);
std::string byteRangeText(const ByteRange& range);

} // namespace tradumar
