#include <gtest/gtest.h>

#include "boxes/text_boxes.h"
#include "project/project_settings.h"
#include "support/temp_dir.h"

namespace tradumar::testsupport {
namespace {

// A line over the limit as a pane marks it: line, first and end column, measure.
using Line = std::array<int, 4>;
// A box over the limit: its first line, how many lines, the first line past the limit.
using Box = std::array<int, 3>;

struct BoxCase {
    const char* name;
    std::string text;
    int lineLength;
    int boxLines;
    std::vector<Line> lines;
    std::vector<Box> boxes;
};

TEST(TextBoxes, LinesAndBoxesOverTheLimitsInCharacters) {
    const BoxCase cases[] = {
        {"a break ends the box; the end code too",
         "¡Hola, viajero!<01>\r\nEl puerto ♪ está\r\nal norte.\r\nY más allá<01>\r\n<END>",
         10,
         2,
         {{0, 10, 15, 15}, {1, 10, 16, 16}},
         {{1, 3, 3}}},
        {"a break inside a line starts the next box on it",
         "こんにちは<01>さようなら、友よ\r\n①②",
         5,
         1,
         {{0, 14, 17, 8}},
         {{0, 2, 1}}},
        {"blank lines inside a box count, after its last line they do not",
         "α\r\n\r\nβ\r\n\r\n",
         0,
         2,
         {},
         {{0, 3, 2}}},
        {"an enclosure never closed counts nothing", "ab<cde\nab<c>d", 4, 0, {{0, 5, 6, 5}}, {}},
        {"no limits, nothing to mark", "una línea demasiado larga para cualquier caja", 0, 0, {}, {}},
    };
    for (const BoxCase& c : cases) {
        const TextBoxLimits limits{c.lineLength, c.boxLines, {"<01>"}, {}};
        const TextBoxCheck check = checkTextBoxes(c.text, {limits, U'<', U'>', nullptr});
        std::vector<Line> lines;
        for (const LineExcess& e : check.lines) {
            lines.push_back({e.line, e.column, e.endColumn, e.length});
            // The byte offsets mark the same characters as the columns.
            const std::string_view marked = std::string_view(c.text).substr(e.start, e.end - e.start);
            EXPECT_EQ(static_cast<int>(characterCount(marked)), e.endColumn - e.column) << c.name;
        }
        std::vector<Box> boxes;
        for (const BoxExcess& b : check.boxes)
            boxes.push_back({b.firstLine, b.lines, b.firstExtraLine});
        EXPECT_EQ(lines, c.lines) << c.name;
        EXPECT_EQ(boxes, c.boxes) << c.name;
        EXPECT_EQ(countTextBoxExcess(c.text, {limits, U'<', U'>', nullptr}),
                  (TextBoxCounts{static_cast<int>(c.lines.size()), static_cast<int>(c.boxes.size())}));
    }
    EXPECT_EQ(textBoxCountsText({2, 1}), "2 líneas y 1 caja exceden el límite de las cajas de texto");
}

TEST(TextBoxes, WidthTableMakesTheLimitPixels) {
    TempDir dir;
    writeBytes(dir.file("fuente.txt"), "\xEF\xBB\xBF# Anchos de la fuente\r\na=6\r\n =3\r\n==5\r\né=6\r\n"
                                       "♪=12\r\n<02>=40\r\n=8\r\na=9\r\nancho\r\n#=7\r\n");
    const WidthTableRead read = readWidthTable(dir.file("fuente.txt"), LegacyCodePage::Windows1252);
    ASSERT_EQ(read.status, TextFileStatus::Read);
    EXPECT_EQ(read.badLines, std::vector<int>{10});
    const WidthTable& widths = read.table;
    EXPECT_EQ(
        (std::array{widths.widthOf(U'a'), widths.widthOf(U' '), widths.widthOf(U'='), widths.widthOf(U'#'),
                    widths.widthOf(U'z'), widths.widthOfBlock("<02>"), widths.widthOfBlock("<03>")}),
        (std::array{6, 3, 5, 7, 8, 40, 0}));
    // Without a "=N" line an unlisted character is as wide as the widest listed.
    EXPECT_EQ(parseWidthTable("a=6\n♪=12\n<02>=40").table.widthOf(U'z'), 12);

    const TextBoxLimits limits{30, 0, {}, "fuente.txt"};
    const TextBoxCheck check = checkTextBoxes("a é<02>=z\r\naaaaa", {limits, U'<', U'>', &widths});
    ASSERT_EQ(check.lines.size(), 1u);
    EXPECT_EQ(
        (Line{check.lines[0].line, check.lines[0].column, check.lines[0].endColumn, check.lines[0].length}),
        (Line{0, 3, 9, 68}));
    EXPECT_EQ(readWidthTable(dir.file("falta.txt"), LegacyCodePage::Windows1252).status,
              TextFileStatus::Unreadable);
}

TEST(TextBoxes, ProjectFileKeepsLimitsAndChecksumOption) {
    TempDir dir;
    const std::string file = dir.file("Juego.tpr");
    ProjectSettings plain;
    plain.projectName = "Juego";
    ASSERT_TRUE(plain.writeTo(file));
    // A project without limits keeps the layout older programs know.
    EXPECT_EQ(readBytes(file).find("[Limits]"), std::string::npos);
    EXPECT_EQ(readBytes(file).find("[Checksum]"), std::string::npos);

    ProjectSettings settings = plain;
    settings.textBoxLimits = {32, 3, {"<01>", "<0C>"}, "anchos ♪.txt"};
    settings.fixChecksum = true;
    ASSERT_TRUE(settings.writeTo(file));
    EXPECT_NE(readBytes(file).find("[Limits]\r\nLINE=32\r\nLINES=3\r\nBREAKS=<01>,<0C>\r\n"),
              std::string::npos);
    ProjectSettings read;
    ASSERT_TRUE(read.readFrom(file));
    EXPECT_EQ(read.textBoxLimits, settings.textBoxLimits);
    EXPECT_TRUE(read.fixChecksum);
    EXPECT_EQ(pathBesideProject(file, read.textBoxLimits.widthTablePath), dir.file("anchos ♪.txt"));

    // Switched off again, the sections say so rather than vanish.
    ASSERT_TRUE(plain.writeTo(file));
    ASSERT_TRUE(read.readFrom(file));
    EXPECT_EQ(read.textBoxLimits, TextBoxLimits{});
    EXPECT_FALSE(read.fixChecksum);
    EXPECT_NE(readBytes(file).find("FIX=0"), std::string::npos);
}

} // namespace
} // namespace tradumar::testsupport
