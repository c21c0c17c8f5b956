#include "project/script_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "support/temp_dir.h"

namespace tradumar::testsupport {
namespace {

TEST(ScriptFiles, ReadingJoinsLinesWithCrLfSavingAddsOneAndAMissingFolderIsSaid) {
    TempDir dir;
    const std::string path = dir.file("1A[4].txt");
    const struct {
        const char *content, *joined, *saved;
    } cases[] = {
        {"", "", "\r\n"},
        {"Hello\r\n", "Hello", "Hello\r\n"},
        {"one\rtwo\r", "one\r\ntwo", "one\r\ntwo\r\n"},
        {"one\ntwo\n", "one\r\ntwo", "one\r\ntwo\r\n"},                     // a lone LF ends a line too
        {"\r\n\r\none\r\n\r\ntwo", "one\r\n\r\ntwo", "one\r\n\r\ntwo\r\n"}, // leading empty lines are lost
        {"one\r\n\r\n", "one\r\n", "one\r\n\r\n"},
        // Windows-made text stays Windows-1252; what the page lacks is saved as UTF-8.
        {"caf\xE9\r\n<0A>", "café\r\n<0A>", "caf\xE9\r\n<0A>\r\n"},
        {"\x82\xA0\x81\x40\x83\x94", "あ　ヴ", "\xEF\xBB\xBF\xE3\x81\x82\xE3\x80\x80\xE3\x83\xB4\r\n"},
        {"\xEF\xBB\xBFIr \xE2\x96\xB6", "Ir ▶", "\xEF\xBB\xBFIr \xE2\x96\xB6\r\n"},
    };
    for (const auto& c : cases) {
        writeBytes(path, c.content);
        const auto legacy = c.content[0] == '\x82' ? LegacyCodePage::ShiftJis : LegacyCodePage::Windows1252;
        EXPECT_EQ(readJoinedText(path, legacy), std::optional<std::string>(c.joined)) << c.content;
        ASSERT_EQ(writeTranslationFile(path, c.joined, LegacyCodePage::Windows1252), 0);
        EXPECT_EQ(readBytes(path), c.saved);
        EXPECT_EQ(readJoinedText(path, LegacyCodePage::Windows1252), std::optional<std::string>(c.joined));
    }
    EXPECT_EQ(readJoinedText(dir.file("missing.txt"), LegacyCodePage::Windows1252), std::nullopt);
    const FolderResult noFolder = createTranslationFolder(dir.file("no/such")); // the window tests the rest
    EXPECT_EQ(std::pair(noFolder.status, noFolder.error), std::pair(FolderStatus::Failed, ENOENT));
}

// Replacing a file keeps its permission bits; an interrupted replace is
// checked with the project file in tests/common/file_guard_test.cpp.
TEST(ScriptFiles, SavingKeepsTheFilesPermissions) {
    TempDir dir;
    const std::string path = dir.file("10[4].txt");
    ASSERT_EQ(writeTranslationFile(path, "first", LegacyCodePage::Windows1252), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(writeTranslationFile(path, "second", LegacyCodePage::Windows1252), 0);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1); // no temporary left
}

} // namespace
} // namespace tradumar::testsupport
