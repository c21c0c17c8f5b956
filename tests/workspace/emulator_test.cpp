#include <QFile>

#include "platform/qt_platform.h"
#include "support/window_harness.h"
#include "workspace/emulator.h"

namespace tradumar {
namespace {

using testsupport::info;
using testsupport::RecordedMessage;
using testsupport::RecordingLauncher;

const RecordedMessage kFailed = info(QStringLiteral("Un error ocurrió al ejecutar el emulador."));
const RecordedMessage kNoCommandLine = info(QStringLiteral(
    "Emulador no permite ejecutar línea de comandos,\r\n tendrá que abrir la ROM manualmente."));

// The real launcher starts a stand-in emulator, a shell script that writes
// each argument it receives on a line of its own into a file next to it.
TEST(Emulator, ReceivesTheRomAsOneArgumentAndNoArgumentWithoutARom) {
    for (const std::string rom : {"/roms/My Game (E) $HOME; 'x'.smc", ""}) {
        testsupport::FixtureProject project;
        const std::string emulator = project.root + "/my emulator";
        testing::writeBytes(emulator,
                            "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.tmp\"\n"
                            "mv \"$0.tmp\" \"$0.args\"\n");
        QFile::setPermissions(pathToQString(emulator), QFile::ReadOwner | QFile::ExeOwner);
        ProjectSettings settings;
        settings.emulatorPath = emulator;
        settings.romPath = rom;
        testsupport::ScriptedDialogs dialogs;
        QtProcessLauncher launcher;
        runEmulator(nullptr, settings, dialogs, launcher);
        EXPECT_TRUE(dialogs.messages.empty());
        for (int waited = 0; !QFile::exists(pathToQString(emulator + ".args")) && waited < 10000;
             waited += 20)
            QTest::qWait(20);
        ASSERT_TRUE(QFile::exists(pathToQString(emulator + ".args")));
        EXPECT_EQ(testing::readBytes(emulator + ".args"), rom.empty() ? "" : rom + "\n");
    }
}

TEST(Emulator, SaysWhatFailedAndTriesTheEmulatorAlone) {
    struct Case {
        std::string emulator;
        std::deque<bool> results;
        std::vector<RecordedMessage> messages;
        std::vector<RecordingLauncher::Launch> launches;
    };
    const Case cases[] = {
        {"", {}, {kFailed}, {}},
        {"/emus/snes",
         {false, true},
         {kNoCommandLine},
         {{"/emus/snes", {"/roms/a.smc"}}, {"/emus/snes", {}}}},
        {"/emus/snes",
         {false, false},
         {kNoCommandLine, kFailed},
         {{"/emus/snes", {"/roms/a.smc"}}, {"/emus/snes", {}}}},
    };
    for (const Case& c : cases) {
        ProjectSettings settings;
        settings.emulatorPath = c.emulator;
        settings.romPath = "/roms/a.smc";
        testsupport::ScriptedDialogs dialogs;
        RecordingLauncher launcher;
        launcher.results = c.results;
        runEmulator(nullptr, settings, dialogs, launcher);
        EXPECT_EQ(dialogs.messages, c.messages);
        EXPECT_EQ(launcher.launches, c.launches);
    }
}

TEST(Emulator, TheMenuStartsTheProjectsEmulatorAndIsUnusableOnceTheProjectCloses) {
    testsupport::FixtureProject project;
    project.script("00[1].txt", "a");
    testsupport::WindowHarness h;
    h.openProject(project);
    h.action("mnuEmulador")->trigger();
    h.action("mnuEmulador")->trigger(); // twice, two emulators
    const RecordingLauncher::Launch launch{pathToQString(project.emulatorPath),
                                           {pathToQString(project.romPath)}};
    EXPECT_EQ(h.desktop.launcher.launches, (std::vector{launch, launch}));
    h.action("mnuCerrar")->trigger();
    EXPECT_EQ(h.workspace.settings.emulatorPath, project.emulatorPath);
    EXPECT_FALSE(h.menu("mnuHerramientas")->isEnabled());
}

} // namespace
} // namespace tradumar
