#include <cerrno>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "project/project_settings.h"
#include "support/temp_dir.h"
#include "workspace/script_files.h"

namespace tradumar {
namespace {

using testing::readBytes;
using testing::TempDir;
namespace fs = std::filesystem;

TEST(FileGuard, ReadOnlyFilesAreRefusedAndLinksWrittenThrough) {
    const struct {
        bool readOnly, viaLink;
        int error;
        const char* after;
    } cases[] = {{false, false, 0, "new"},
                 {true, false, EACCES, "old"},
                 {false, true, 0, "new"},
                 {true, true, EACCES, "old"}};
    for (const auto& c : cases) {
        TempDir dir;
        const std::string target = dir.file("target.txt"), link = dir.file("link.txt");
        testing::writeBytes(target, "old");
        if (c.readOnly)
            fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        if (c.viaLink)
            fs::create_symlink("target.txt", link);
        ProjectSettings settings;
        EXPECT_EQ(writeFileAtomically(c.viaLink ? link : target, "new"), c.error);
        EXPECT_EQ(settings.writeTo(c.viaLink ? link : target), c.error == 0); // the project file alike
        EXPECT_EQ(readBytes(target).substr(0, 3), c.after);
        EXPECT_EQ(fs::is_symlink(link), c.viaLink);
    }
}

TEST(FileGuard, SystemErrorsAreDescribedInSpanish) {
    const std::pair<int, const char*> cases[] = {{EISDIR, "21: Es una carpeta"},
                                                 {EACCES, "13: Permiso denegado"},
                                                 {ENOENT, "2: No existe el archivo o la carpeta"},
                                                 {ENOSPC, "28: Disco lleno"},
                                                 {EPERM, "1: Operaci\xF3n no permitida"}};
    for (const auto& [error, text] : cases)
        EXPECT_EQ(describeError(error), text);
}

TEST(FileGuard, AProjectFileThatCannotBeWrittenWholeStaysAsItWas) {
    TempDir dir;
    const std::string path = dir.file("Demo.tpr");
    testing::writeBytes(path, "[Project]\r\nNAME=Old\r\n");
    ProjectSettings settings;
    settings.projectName = "New";
    settings.romPath = settings.scriptsFolder = settings.emulatorPath = std::string(300, 'x');
    // The file system takes files of up to 200 bytes: the first entries fit, the whole file does not.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 200;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written = settings.writeTo(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(path), "[Project]\r\nNAME=Old\r\n");
}

} // namespace
} // namespace tradumar
