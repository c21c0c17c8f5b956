#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "pointers/script_extraction.h"

namespace tradumar {

// What the extraction dialog's fields hold, as the user typed them. Numbers
// of the table are hexadecimal (an optional "0x" in front, the displacement
// may carry a minus sign), the count and the step decimal.
struct ExtractionInput {
    bool byTable = true;
    std::string start;        // hexadecimal
    std::string count;        // decimal
    std::string step;         // decimal; empty: the pointer's size
    std::string displacement; // hexadecimal, signed; empty: 0
    PointerFormat format;     // size, order, map and header (the displacement comes from its field)
    std::string ranges;       // one "inicio-fin" a line, in hexadecimal
};

struct ExtractionInputCheck {
    ExtractionRequest request;
    std::string problem; // what is wrong, in Spanish; empty when the request can run
    bool ok() const { return problem.empty(); }
};

// The request the fields describe, checked against a ROM of `romSize`
// bytes: every pointer of the table and every range must lie inside it.
ExtractionInputCheck parseExtractionInput(const ExtractionInput& input, std::int64_t romSize);

// Why the original table cannot decode scripts (no usable code at all, or
// no end code to tell where a script ends); empty when it can.
std::string extractionTableProblem(const ThingyTable& originalTable);

// The same request cut to its first scripts, for a preview: at most
// `scripts` pointers of the table, and the first range cut to a few
// kilobytes.
ExtractionRequest previewRequest(const ExtractionRequest& request, int scripts);

// What an extraction did, as the user reads it: the scripts written, those
// kept because their file existed, those whose text would not insert back
// as the same bytes, files that could not be written, stray pointers and a
// pointer file that could not be saved. Lines joined by CR LF.
std::string extractionReportText(const Extraction& extraction, const ExtractionWrite& written,
                                 const std::string& pointerFileName);

} // namespace tradumar
