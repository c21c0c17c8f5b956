// Replays the fuzzers' saved inputs through the same entry points, so an
// input that once broke an invariant keeps being checked by every test run.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "../fuzz/fuzz_targets.h"

namespace {

using Entry = int (*)(const std::uint8_t*, std::size_t);

void replay(const char* name, Entry entry) {
    const std::filesystem::path folder = std::filesystem::path(TRADUMAR_FUZZ_CORPUS) / name;
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
    int inputs = 0;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(file.path(), std::ios::binary);
        const std::vector<char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(file.path().string());
        EXPECT_EQ(entry(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()), 0);
        ++inputs;
    }
    EXPECT_GT(inputs, 0) << "no saved inputs in " << folder;
}

TEST(FuzzCorpusReplay, IniProfile) {
    replay("ini_profile", fuzzIniProfile);
}
TEST(FuzzCorpusReplay, ThingyTable) {
    replay("thingy_table", fuzzThingyTable);
}
TEST(FuzzCorpusReplay, ScriptCodec) {
    replay("script_codec", fuzzScriptCodec);
}
TEST(FuzzCorpusReplay, Numbers) {
    replay("numbers", fuzzNumbers);
}
TEST(FuzzCorpusReplay, InsertionJournal) {
    replay("insertion_journal", fuzzInsertionJournal);
}
TEST(FuzzCorpusReplay, WordList) {
    replay("word_list", fuzzWordList);
}
TEST(FuzzCorpusReplay, BpsPatch) {
    replay("bps_patch", fuzzBpsPatch);
}
TEST(FuzzCorpusReplay, IpsPatch) {
    replay("ips_patch", fuzzIpsPatch);
}

} // namespace
