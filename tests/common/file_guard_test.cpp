#include <csignal>
#include <filesystem>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "project/project_settings.h"
#include "project/script_files.h"
#include "support/temp_dir.h"

namespace tradumar::testsupport {
namespace {

namespace fs = std::filesystem;

TEST(FileGuard, ReadOnlyFilesAreRefusedLinksWrittenThroughAndFailuresToldInSpanish) {
    const struct {
        const char* path; // where the save goes, next to "target.txt" holding "old"
        bool readOnly;
        const char* said; // empty: saved
    } cases[] = {
        {"target.txt", false, ""},         {"target.txt", true, "13: Permiso denegado"},
        {"link.txt", false, ""},           {"link.txt", true, "13: Permiso denegado"},
        {"", false, "21: Es una carpeta"}, {"no/such.txt", false, "2: No existe el archivo o la carpeta"}};
    for (const auto& c : cases) {
        TempDir dir;
        const std::string target = dir.file("target.txt"), path = dir.file(c.path);
        writeBytes(target, "old");
        fs::create_symlink("target.txt", dir.file("link.txt"));
        if (c.readOnly)
            fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        const int error = writeFileAtomically(path, "new");
        EXPECT_EQ(error == 0 ? "" : describeError(error), c.said) << c.path;
        EXPECT_EQ(ProjectSettings().writeTo(path), error == 0) << c.path; // the project file alike
        EXPECT_EQ(readBytes(target).substr(0, 3), error == 0 ? "new" : "old");
        EXPECT_TRUE(fs::is_symlink(dir.file("link.txt")));
    }
}

TEST(FileGuard, AProjectFileThatCannotBeWrittenWholeStaysAsItWas) {
    TempDir dir;
    const std::string path = dir.file("Demo.tpr");
    writeBytes(path, "[Project]\r\nNAME=Old\r\n");
    ProjectSettings settings;
    settings.projectName = "New";
    settings.romPath = settings.scriptsFolder = settings.emulatorPath = std::string(300, 'x');
    // Files of up to 200 bytes: the first entries fit, the whole file does not.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{}, small{};
    getrlimit(RLIMIT_FSIZE, &saved);
    small = {200, saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written = settings.writeTo(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(path), "[Project]\r\nNAME=Old\r\n");
}

} // namespace
} // namespace tradumar::testsupport
