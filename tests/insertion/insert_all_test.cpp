#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "insertion/insert_all.h"
#include "support/temp_dir.h"

namespace tradumar::testsupport {
namespace {

using Status = PlannedScript::Status;

TEST(InsertAllPlan, EveryTranslationIsWeighedAndTheBlockedOnesSayWhy) {
    TempDir dir;
    const std::string scripts = dir.path().string();
    std::filesystem::create_directories(scripts + "/Traducidos");
    struct Row {
        const char *name, *text;
        Status status;
        Bytes bytes;
        std::vector<int> missingAt;
        int error = 0;
    };
    const std::vector<Row> rows = {
        {"0A[4].txt", "AB\r\nA", Status::Fits, {0x41, 0x42, 0xFE, 0x41}, {}},
        {"1b[2].TXT", "BAB", Status::OverBudget, {0x42, 0x41, 0x42}, {}},
        {"2C[9].txt", "A\xE9\x42\xF1", Status::MissingCharacters, {0x41, 0x42}, {2, 4}},
        {"3D[9].txt", "A<0A", Status::EncodeFailed, {}, {}, FailureCode::Overflow},
        {"3E[9].txt", "A<0G>B", Status::InvalidBlocks, {0x41, 0x42}, {}}, // blocked, never written as 00
        {"nombre.txt", "A", Status::NoBudget, {}, {}},
        {"zzzz[10].txt", "A", Status::NoBudget, {}, {}}, // never at offset 0
    };
    for (const Row& row : rows)
        writeBytes(scripts + "/Traducidos/" + row.name, row.text);
    writeBytes(scripts + "/Traducidos/notas.doc", "not a script");

    ThingyTable table;
    parseThingyTable("41=A\r\n42=B\r\n*FE\r\n/FF\r\n", table, TableOverflow::Drop);
    const InsertAllPlan plan = planInsertAll(scripts, LegacyCodePage::Windows1252, {table, 1, '<', '>'}, {});
    ASSERT_EQ(plan.scripts.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const PlannedScript& s = plan.scripts[i];
        EXPECT_EQ(s.fileName, rows[i].name);
        EXPECT_EQ(std::tuple(s.status, s.error), std::tuple(rows[i].status, rows[i].error)) << s.fileName;
        EXPECT_EQ(s.bytes, rows[i].bytes);
        std::vector<int> at;
        for (const MissingCharacter& m : s.missing)
            at.push_back(m.position);
        EXPECT_EQ(at, rows[i].missingAt);
    }
    ASSERT_EQ(plan.scripts[4].invalidBlocks.size(), 1u);
    EXPECT_EQ(std::pair(plan.scripts[4].invalidBlocks[0].block, plan.scripts[4].invalidBlocks[0].position),
              std::pair(std::string("<0G>"), 2));
    EXPECT_EQ(plan.writes(false).size(), 1u);
    EXPECT_EQ(plan.writes(true).size(), 2u);
    EXPECT_EQ(plan.writes(true)[1].offset, 0x1B);

    const InsertAllPlan stopped = planInsertAll(scripts, LegacyCodePage::Windows1252, {table, 1, '<', '>'},
                                                [](std::size_t, std::size_t) { return false; });
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_TRUE(stopped.scripts.empty());
}

// Names that differ only in letter case keep the list's order, so the one
// written last (and kept in the ROM) is the one the list shows last.
TEST(InsertAllPlan, NamesDifferingInCaseAreWrittenInTheListsOrder) {
    TempDir dir;
    const std::string scripts = dir.path().string();
    std::filesystem::create_directories(scripts + "/Traducidos");
    for (const char* name : {"0b[1].txt", "0a[1].txt", "0A[1].txt", "0B[1].txt"})
        writeBytes(scripts + "/Traducidos/" + name, "A");
    ThingyTable table;
    parseThingyTable("41=A\r\n", table, TableOverflow::Drop);
    std::vector<std::string> order;
    for (const RomWrite& w :
         planInsertAll(scripts, LegacyCodePage::Windows1252, {table, 1, '<', '>'}, {}).writes(false))
        order.push_back(w.scriptName);
    EXPECT_EQ(order, (std::vector<std::string>{"0A[1].txt", "0a[1].txt", "0B[1].txt", "0b[1].txt"}));
}

} // namespace
} // namespace tradumar::testsupport
