#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "boxes/width_table.h"

namespace tradumar {

// How much text a game's text box holds, as the project sets it. A box is
// the text between two box breaks: a raw block the project names (e.g. "<01>",
// wait for a button) or the end code "<END>"; a break inside a line starts the
// next box on the rest of that line.
struct TextBoxLimits {
    int lineLength = 0;                 // characters per line, pixels with a width table; 0: no limit
    int boxLines = 0;                   // lines per box; 0: no limit
    std::vector<std::string> boxBreaks; // raw blocks as written, e.g. "<01>" (letter case and blanks aside)
    std::string widthTablePath;         // empty: lines are counted in characters

    bool active() const { return lineLength > 0 || boxLines > 0; }
    bool operator==(const TextBoxLimits&) const = default;
};

// The breaks as the project file keeps them: "<01>,<0C>" (blanks around each ignored).
std::string formatBoxBreaks(const std::vector<std::string>& breaks);
std::vector<std::string> parseBoxBreaks(std::string_view text);

// A path as the project file holds it, made absolute against the project
// file's folder when it is relative; an empty path stays empty.
std::string pathBesideProject(const std::string& projectFilePath, const std::string& path);

// What the check needs besides the text.
struct TextBoxRules {
    const TextBoxLimits& limits;
    char32_t leftEnclosure = U'<';
    char32_t rightEnclosure = U'>';
    const WidthTable* widths = nullptr; // when set, a line is measured in pixels
};

// A line of a box longer than the limit. A box line is a line of the text,
// or the part of it before or after a box break.
struct LineExcess {
    int line = 0;          // 0-based line of the text
    std::size_t start = 0; // byte offset (in the text) of the first character past the limit
    std::size_t end = 0;   // byte offset where the box line ends (before its break or line end)
    int column = 0;        // 0-based character position of `start` in its line (raw blocks included)
    int endColumn = 0;     // and of `end`
    int length = 0;        // the box line's measure, in characters or pixels
    bool operator==(const LineExcess&) const = default;
};

// A box with more lines than the limit. Its lines run from the first to the
// last box line that holds a character, or a raw block the width table gives
// a width (blank lines between them count; a box of raw blocks alone holds none).
struct BoxExcess {
    int firstLine = 0;      // 0-based line of the text where the box's first line is
    int lines = 0;          // how many lines the box holds
    int firstExtraLine = 0; // 0-based line of the text of the first line past the limit
    std::size_t start = 0;  // byte offset where that line starts
    std::size_t end = 0;    // byte offset where the box's last line ends
    bool operator==(const BoxExcess&) const = default;
};

struct TextBoxCheck {
    std::vector<LineExcess> lines;
    std::vector<BoxExcess> boxes;
    bool fits() const { return lines.empty() && boxes.empty(); }
};

// The box lines and boxes of a translation (UTF-8; lines end in CR LF, CR or
// LF) that exceed the limits. Characters are counted as "Largo de línea"
// counts them: a raw block, from a left enclosure to the next right one on
// the line, counts none (in pixels, the width the table gives the block) and
// a left enclosure never closed is left out.
TextBoxCheck checkTextBoxes(std::string_view text, const TextBoxRules& rules);

// Whether a line of text holds a box break, read as the check reads it; the
// box before it ends there, so a check of the lines from it on is a check of
// whole boxes (but for the part before the break).
bool holdsBoxBreak(std::string_view line, const TextBoxRules& rules);

struct TextBoxCounts {
    int longLines = 0;
    int longBoxes = 0;
    bool fits() const { return longLines == 0 && longBoxes == 0; }
    bool operator==(const TextBoxCounts&) const = default;
};

TextBoxCounts countTextBoxExcess(std::string_view text, const TextBoxRules& rules);

// For one script: "2 líneas y 1 caja exceden el límite de las cajas de texto";
// empty when it fits.
std::string textBoxCountsText(TextBoxCounts counts);

// The tooltips of the marks in the translation pane: "Esta línea mide 34
// caracteres; el límite es 28.", "Esta caja tiene 5 líneas; el límite es 4."
std::string lineExcessText(const LineExcess& excess, const TextBoxRules& rules);
std::string boxExcessText(const BoxExcess& excess, const TextBoxRules& rules);

// For a project's summary line, the number of scripts whose translation does
// not fit its boxes: "1 no cabe en sus cajas de texto", "3 no caben en sus
// cajas de texto"; empty for none.
std::string textBoxScriptsText(int scripts);

// For the report of inserting them all: "3 scripts no caben en sus cajas de
// texto; eso no impide insertarlos"; empty for none.
std::string boxesSummaryText(int scripts);

} // namespace tradumar
