#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "encoding/thingy_table.h"
#include "pointers/pointer_file.h"

namespace tradumar {

// Where to look for scripts: pointer tables (each pointer leads to a script
// that runs to its end code) and ranges (cut into scripts after each end
// code). Either or both.
struct ExtractionRequest {
    std::vector<PointerTable> tables;
    std::vector<ByteRange> ranges;
};

struct ExtractedScript {
    std::int64_t offset = 0;
    std::size_t size = 0; // bytes, the end code included
    std::string text;     // as the script file will read back
    bool ended = false;   // an end code closed it (otherwise the range, the ROM or 32767 bytes did)
    std::vector<ScriptPointer> pointers; // those of the tables that lead here
    bool reencodes = false;              // encoding the text with the same table gives the same bytes

    // "OFFSET[SIZE].txt": the offset in uppercase hexadecimal, the size in decimal.
    std::string fileName() const;
};

struct Extraction {
    std::vector<ExtractedScript> scripts; // by offset
    // Table pointers whose value leads nowhere in the ROM, or that lie past its end.
    std::vector<ScriptPointer> strayPointers;
};

// The longest script a file name can carry.
constexpr std::size_t kMaxScriptSize = 32767;

// Finds and decodes the scripts with the original table (ScriptDecoder) and
// checks that each decoded text re-encodes (encodeScript with the same
// table, every code counted) to the very bytes it came from.
Extraction extractScripts(std::span<const std::uint8_t> rom, const ThingyTable& originalTable,
                          const ExtractionRequest& request, char32_t leftEnclosure = U'<',
                          char32_t rightEnclosure = U'>');

struct ExtractionWrite {
    std::vector<std::string> written;                // file names
    std::vector<std::string> skipped;                // a file of that name already existed and is kept
    std::vector<std::pair<std::string, int>> failed; // file name, errno
    int pointerFileError = 0;                        // errno of saving the pointer file, or 0
};

// Writes one OFFSET[SIZE].txt per script into the scripts folder (the text,
// then CR LF, in the legacy code page when every character fits, otherwise
// UTF-8 with a byte-order mark). An existing file is never replaced: the
// file appears whole or not at all (a temporary file linked to its name).
// Then the pointer file gains the request's tables and the pointers of every
// script found, whether its file was written or already there; the first
// table a project gains also gives it its pointer format.
ExtractionWrite writeExtractedScripts(const std::string& scriptsFolder, const std::string& pointerFilePath,
                                      const Extraction& extraction, const ExtractionRequest& request,
                                      LegacyCodePage legacy);

} // namespace tradumar
