#include <gtest/gtest.h>

#include <filesystem>

#include "project/translation_progress.h"
#include "support/temp_dir.h"

namespace tradumar::testsupport {
namespace {

// Enough scripts for the work to be shared among threads: every third one
// untranslated, the others 1 to 7 bytes long against a size of 4.
TEST(TranslationProgressCore, EveryScriptMeasuredWhateverThreadCountsIt) {
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "Traducidos");
    ThingyTable table;
    table.set(1, {"61", "a"});
    table.set(2, {"80", "aa"}); // two letters, one byte
    std::vector<std::string> names;
    for (int i = 0; i < 600; ++i) {
        names.push_back(std::to_string(i) + "[4].txt");
        if (i % 3 == 0)
            continue;
        writeBytes(dir.file("Traducidos/" + names.back()), std::string(2 * (1 + i % 7), 'a') + "\r\n");
    }
    TranslationProgress progress;
    progress.reset(names, dir.path().string(), LegacyCodePage::Windows1252, CodecContext{table, 2});
    for (int i : {0, 1, 4, 599}) {
        const ScriptProgress* row = progress.find(names[static_cast<std::size_t>(i)]);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->translatedBytes, i % 3 == 0 ? 0 : 1 + i % 7) << i;
        EXPECT_EQ(row->difference(), i % 3 == 0 ? std::nullopt : std::optional<std::int64_t>(4 - 1 - i % 7));
    }
    EXPECT_EQ(summaryText(progress.summary()), "Traducidos: 400 de 600 (66 %) · 171 exceden su tamaño");
}

} // namespace
} // namespace tradumar::testsupport
