#include "workspace/script_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "support/temp_dir.h"

namespace tradumar {
namespace {

using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

TEST(ReadJoinedText, JoinsLinesWithCrLf) {
    TempDir dir;
    struct Case {
        const char* content;
        const char* joined;
    };
    const Case cases[] = {
        {"", ""},
        {"Hello", "Hello"},
        {"Hello\r\n", "Hello"},
        {"one\r\ntwo", "one\r\ntwo"},
        {"one\rtwo\r", "one\r\ntwo"},
        {"one\ntwo\n", "one\r\ntwo"},                 // a lone LF ends a line too
        {"\r\n\r\none\r\n\r\ntwo", "one\r\n\r\ntwo"}, // leading empty lines are lost
        {"one\r\n\r\n", "one\r\n"},
        {"caf\xE9\r\n<0A>", "caf\xE9\r\n<0A>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        const std::string path = dir.file("s.txt");
        writeBytes(path, c.content);
        EXPECT_EQ(readJoinedText(path), std::optional<std::string>(c.joined));
    }
    EXPECT_EQ(readJoinedText(dir.file("missing.txt")), std::nullopt);
}

TEST(TranslationFile, SavedTextReadsBackUnlessItBeganWithEmptyLines) {
    TempDir dir;
    const std::string path = dir.file("1A2B3C[120].txt");
    for (std::string text : {"Hola", "Hola\r\nmundo", "Hola\r\n", "\xE1\xE9\xED<0A>\r\n\r\nfin"}) {
        ASSERT_EQ(writeTranslationFile(path, text), 0);
        EXPECT_EQ(readBytes(path), text + "\r\n");
        EXPECT_EQ(readJoinedText(path), text);
    }
    ASSERT_EQ(writeTranslationFile(path, "\r\nHola"), 0);
    EXPECT_EQ(readJoinedText(path), "Hola");
}

TEST(TranslationFile, AFailedSaveKeepsTheTranslationSavedBefore) {
    TempDir dir;
    const std::string folder = dir.file("Traducidos");
    std::filesystem::create_directory(folder);
    const std::string path = folder + "/10[4].txt";
    ASSERT_EQ(writeTranslationFile(path, "first"), 0);

    std::filesystem::permissions(folder,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (::geteuid() != 0) { // root writes anyway
        EXPECT_NE(writeTranslationFile(path, "second"), 0);
        EXPECT_EQ(readBytes(path), "first\r\n");
    }
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);

    // Saving onto a folder's name fails and leaves the folder alone.
    std::filesystem::create_directory(folder + "/dir.txt");
    EXPECT_NE(writeTranslationFile(folder + "/dir.txt", "x"), 0);
    EXPECT_TRUE(std::filesystem::is_directory(folder + "/dir.txt"));
    // No temporary file is left behind.
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++files;
    EXPECT_EQ(files, 2u);
}

TEST(TranslationFolder, IsCreatedOnceAndToldApartWhenItExists) {
    TempDir dir;
    const std::string scripts = dir.path().string();
    EXPECT_EQ(translationFolderOf(scripts), scripts + "/Traducidos/");
    EXPECT_EQ(createTranslationFolder(scripts).status, FolderStatus::Created);
    EXPECT_TRUE(std::filesystem::is_directory(scripts + "/Traducidos"));
    EXPECT_EQ(createTranslationFolder(scripts).status, FolderStatus::Existed);

    const FolderResult missing = createTranslationFolder(scripts + "/no/such");
    EXPECT_EQ(missing.status, FolderStatus::Failed);
    EXPECT_EQ(missing.error, ENOENT);
    EXPECT_EQ(describeError(ENOENT).rfind(std::to_string(ENOENT) + ": ", 0), 0u);

    TempDir other;
    writeBytes(other.file("Traducidos"), "a file in the way");
    EXPECT_EQ(createTranslationFolder(other.path().string()).status, FolderStatus::Failed);
}

} // namespace
} // namespace tradumar
