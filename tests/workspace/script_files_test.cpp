#include "workspace/script_files.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

#include "support/temp_dir.h"

namespace tradumar {
namespace {

using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

TEST(ScriptFiles, ReadingJoinsLinesWithCrLfAndSavingAddsOne) {
    TempDir dir;
    const std::string path = dir.file("1A[4].txt");
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"Hello\r\n", "Hello"},
        {"one\rtwo\r", "one\r\ntwo"},
        {"one\ntwo", "one\ntwo"},                     // a lone LF stays in the line
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
}

// A save that fails halfway, for whatever user runs it: the file size limit
// cuts the write short (EFBIG instead of the signal).
TEST(ScriptFiles, AnInterruptedSaveKeepsTheOldFileWithItsPermissions) {
    TempDir dir;
    const std::string path = dir.file("10[4].txt");
    ASSERT_EQ(writeTranslationFile(path, "first"), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(writeTranslationFile(path, "second"), 0);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const int error = writeTranslationFile(path, "a much longer third text");
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(error, EFBIG);
    EXPECT_EQ(readBytes(path), "second\r\n");

    // Saving onto a folder's name fails and leaves the folder alone.
    std::filesystem::create_directory(dir.file("dir.txt"));
    EXPECT_EQ(writeTranslationFile(dir.file("dir.txt"), "x"), EISDIR);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(ScriptFiles, TheTranslationFolderIsCreatedOnceAndToldApartWhenItExists) {
    TempDir dir;
    const std::string scripts = dir.path().string();
    EXPECT_EQ(translationFolderOf(scripts), scripts + "/Traducidos/");
    EXPECT_EQ(createTranslationFolder(scripts).status, FolderStatus::Created);
    EXPECT_TRUE(std::filesystem::is_directory(scripts + "/Traducidos"));
    EXPECT_EQ(createTranslationFolder(scripts).status, FolderStatus::Existed);
    const FolderResult missing = createTranslationFolder(scripts + "/no/such");
    EXPECT_EQ(missing.status, FolderStatus::Failed);
    EXPECT_EQ(missing.error, ENOENT);
}

} // namespace
} // namespace tradumar
