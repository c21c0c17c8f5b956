#include "workspace/script_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "support/temp_dir.h"

namespace tradumar::testsupport {
namespace {

TEST(ScriptFiles, ReadingJoinsLinesWithCrLfSavingAddsOneAndAMissingFolderIsSaid) {
    TempDir dir;
    const std::string path = dir.file("1A[4].txt");
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"Hello\r\n", "Hello"},
        {"one\rtwo\r", "one\r\ntwo"},
        {"one\ntwo\n", "one\r\ntwo"},                 // a lone LF ends a line too
        {"\r\n\r\none\r\n\r\ntwo", "one\r\n\r\ntwo"}, // leading empty lines are lost
        {"one\r\n\r\n", "one\r\n"},
        {"caf\xE9\r\n<0A>", "caf\xE9\r\n<0A>"},
    };
    for (const auto& [content, joined] : cases) {
        writeBytes(path, content);
        EXPECT_EQ(readJoinedText(path), std::optional<std::string>(joined)) << content;
        ASSERT_EQ(writeTranslationFile(path, joined), 0);
        EXPECT_EQ(readBytes(path), joined + std::string("\r\n"));
    }
    EXPECT_EQ(readJoinedText(dir.file("missing.txt")), std::nullopt);
    const FolderResult noFolder = createTranslationFolder(dir.file("no/such")); // the window tests the rest
    EXPECT_EQ(std::pair(noFolder.status, noFolder.error), std::pair(FolderStatus::Failed, ENOENT));
}

// Replacing a file keeps its permission bits; an interrupted replace is
// checked with the project file in tests/common/file_guard_test.cpp.
TEST(ScriptFiles, SavingKeepsTheFilesPermissions) {
    TempDir dir;
    const std::string path = dir.file("10[4].txt");
    ASSERT_EQ(writeTranslationFile(path, "first"), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(writeTranslationFile(path, "second"), 0);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1); // no temporary left
}

} // namespace
} // namespace tradumar::testsupport
