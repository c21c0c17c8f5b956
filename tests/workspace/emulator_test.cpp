#include <QFile>
#include <sys/stat.h>

#include "platform/qt_platform.h"
#include "support/window_harness.h"
#include "workspace/emulator.h"

namespace tradumar::testsupport {
namespace {

const RecordedMessage kFailed = info(QStringLiteral("Un error ocurrió al ejecutar el emulador."));
const RecordedMessage kNoCommandLine = info(QStringLiteral(
    "Emulador no permite ejecutar línea de comandos,\r\n tendrá que abrir la ROM manualmente."));

// A stand-in emulator: a shell script that writes each argument it receives
// on a line of its own into "<path>.args".
void writeFakeEmulator(const std::string& path) {
    writeBytes(path, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.args\"\n");
    QFile::setPermissions(pathToQString(path), QFile::ReadOwner | QFile::ExeOwner);
}

// The real launcher starts the stand-in emulator.
TEST(Emulator, ReceivesTheRomAsOneArgumentAndNoArgumentWithoutARom) {
    for (const std::string rom : {"/roms/My Game (E) $HOME; 'x'.smc", ""}) {
        FixtureProject project;
        const std::string emulator = project.root + "/my emulator";
        writeFakeEmulator(emulator);
        // A pipe: reading it waits for the emulator to write and finish, with no clock involved.
        ASSERT_EQ(mkfifo((emulator + ".args").c_str(), 0600), 0);
        ProjectSettings settings;
        settings.emulatorPath = emulator;
        settings.romPath = rom;
        ScriptedDialogs dialogs;
        QtProcessLauncher launcher;
        runEmulator(nullptr, settings, dialogs, launcher);
        ASSERT_TRUE(dialogs.messages.empty()); // started: it opens the pipe
        EXPECT_EQ(readBytes(emulator + ".args"), rom.empty() ? "" : rom + "\n");
        // A program that is gone or cannot run is reported by the launcher too.
        QFile::setPermissions(pathToQString(emulator), QFile::ReadOwner);
        EXPECT_FALSE(launcher.startDetached(pathToQString(emulator), {}));
        EXPECT_FALSE(launcher.startDetached(pathToQString(project.root + "/none"), {}));
    }
}

// An emulator that is not there or cannot run is said once and not started;
// one that fails to start with the ROM is tried alone.
TEST(Emulator, SaysWhatFailedAndTriesTheEmulatorAlone) {
    FixtureProject project;
    const std::string text = project.root + "/text";
    writeBytes(text, "not a program");
    const QString cannot = QStringLiteral("No se puede ejecutar el emulador: "),
                  root = pathToQString(project.root);
    struct Case {
        std::string emulator;
        std::deque<bool> results;
        std::vector<RecordedMessage> messages;
        std::vector<RecordingLauncher::Launch> launches;
    };
    const std::vector<RecordingLauncher::Launch> twice = {{"/bin/sh", {"/roms/a.smc"}}, {"/bin/sh", {}}};
    const Case cases[] = {
        {"", {}, {kFailed}, {}},
        {project.root + "/none", {}, {info(cannot + "no existe el archivo " + root + "/none")}, {}},
        {text, {}, {info(cannot + root + "/text no es un programa ejecutable")}, {}},
        {"/bin/sh", {false, true}, {kNoCommandLine}, twice},
        {"/bin/sh", {false, false}, {kNoCommandLine, kFailed}, twice},
    };
    for (const Case& c : cases) {
        ProjectSettings settings;
        settings.emulatorPath = c.emulator;
        settings.romPath = "/roms/a.smc";
        ScriptedDialogs dialogs;
        RecordingLauncher launcher;
        launcher.results = c.results;
        runEmulator(nullptr, settings, dialogs, launcher);
        EXPECT_EQ(dialogs.messages, c.messages) << c.emulator;
        EXPECT_EQ(launcher.launches, c.launches) << c.emulator;
    }
}

TEST(Emulator, TheMenuStartsTheProjectsEmulatorWithItsRom) {
    FixtureProject project;
    project.script("00[1].txt", "a");
    writeFakeEmulator(project.emulatorPath);
    WindowHarness h;
    h.openProject(project);
    h.action("mnuEmulador")->trigger();
    h.action("mnuEmulador")->trigger(); // twice, two emulators
    const RecordingLauncher::Launch launch{pathToQString(project.emulatorPath),
                                           {pathToQString(project.romPath)}};
    EXPECT_EQ(h.desktop.launcher.launches, (std::vector{launch, launch}));
}

} // namespace
} // namespace tradumar::testsupport
