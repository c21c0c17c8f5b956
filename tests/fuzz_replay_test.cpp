// Replays the fuzzers' saved inputs through the same entry points, so an
// input that once broke an invariant keeps being checked by every test run.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "../fuzz/fuzz_targets.h"

namespace {

TEST(FuzzCorpusReplay, EverySavedInputKeepsItsInvariants) {
    using Entry = int (*)(const std::uint8_t*, std::size_t);
    const std::pair<const char*, Entry> targets[] = {
        {"ini_profile", fuzzIniProfile},    {"thingy_table", fuzzThingyTable},
        {"script_codec", fuzzScriptCodec},  {"numbers", fuzzNumbers},
        {"word_list", fuzzWordList},        {"bps_patch", fuzzBpsPatch},
        {"ips_patch", fuzzIpsPatch},        {"insertion_journal", fuzzInsertionJournal},
        {"text_file", fuzzTextFile},        {"width_table", fuzzWidthTable},
        {"glossary", fuzzGlossary},         {"pointer_file", fuzzPointerFile},
        {"pointer_codec", fuzzPointerCodec}, {"extraction_input", fuzzExtractionInput}};
    for (const auto& [name, entry] : targets) {
        const std::filesystem::path folder = std::filesystem::path(TRADUMAR_FUZZ_CORPUS) / name;
        int inputs = 0;
        for (const auto& file : std::filesystem::directory_iterator(folder)) {
            std::ifstream in(file.path(), std::ios::binary);
            const std::vector<char> data((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
            EXPECT_EQ(entry(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()), 0)
                << file.path();
            ++inputs;
        }
        EXPECT_GT(inputs, 0) << "no saved inputs in " << folder;
    }
}

} // namespace
