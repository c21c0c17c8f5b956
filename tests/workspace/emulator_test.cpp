#include <QElapsedTimer>
#include <QFile>

#include "platform/qt_platform.h"
#include "support/window_harness.h"
#include "workspace/emulator.h"

namespace tradumar {
namespace {

using testsupport::FixtureProject;
using testsupport::info;
using testsupport::RecordedMessage;
using testsupport::RecordingLauncher;
using testsupport::ScriptedDialogs;

const RecordedMessage kNoEmulator = info(QStringLiteral("Un error ocurrió al ejecutar el emulador."));
const RecordedMessage kNoCommandLine = info(QStringLiteral(
    "Emulador no permite ejecutar línea de comandos,\r\n tendrá que abrir la ROM manualmente."));

// A stand-in emulator: a shell script that writes each argument it receives
// on a line of its own into a file next to it.
class FakeEmulator {
public:
    explicit FakeEmulator(const std::string& path) : m_path(path), m_output(path + ".args") {
        testsupport::writeFileBytes(
            m_path, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.tmp\"\n"
                    "mv \"$0.tmp\" \"$0.args\"\n");
        QFile::setPermissions(pathToQString(m_path), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // The arguments of the run, once the script has written them.
    std::optional<std::vector<std::string>> arguments() const {
        QElapsedTimer timer;
        timer.start();
        while (!QFile::exists(pathToQString(m_output)) && timer.elapsed() < 10000)
            QTest::qWait(20);
        if (!QFile::exists(pathToQString(m_output)))
            return std::nullopt;
        std::vector<std::string> lines;
        std::string content = testsupport::readFileBytes(m_output);
        for (std::size_t start = 0, end; (end = content.find('\n', start)) != std::string::npos;
             start = end + 1)
            lines.push_back(content.substr(start, end - start));
        return lines;
    }

private:
    std::string m_path;
    std::string m_output;
};

TEST(Emulator, StartsTheEmulatorWithTheRomAsOneArgument) {
    FixtureProject project;
    project.emulatorPath = project.root + "/my emulator";
    project.romPath = project.root + "/My Game (E) $HOME; 'x'.smc";
    FakeEmulator emulator(project.emulatorPath);

    ProjectSettings settings;
    settings.emulatorPath = project.emulatorPath;
    settings.romPath = project.romPath;
    ScriptedDialogs dialogs;
    QtProcessLauncher launcher;
    runEmulator(nullptr, settings, dialogs, launcher);

    EXPECT_EQ(emulator.arguments(), std::vector<std::string>{project.romPath});
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(Emulator, FromTheMenuOfAnOpenProject) {
    FixtureProject project;
    project.script("00[1].txt", "a");
    FakeEmulator emulator(project.emulatorPath);
    testsupport::WindowHarness h;
    h.openProject(project);
    ASSERT_TRUE(h.menu("mnuHerramientas")->isEnabled());
    // The window keeps its own launcher; here it is the real one.
    QtProcessLauncher launcher;
    runEmulator(&h.window, h.workspace.settings, h.desktop.dialogs, launcher);
    EXPECT_EQ(emulator.arguments(), std::vector<std::string>{project.romPath});

    h.action("mnuEmulador")->trigger();
    h.action("mnuEmulador")->trigger();
    ASSERT_EQ(h.desktop.launcher.launches.size(), 2u); // twice, two emulators
    EXPECT_EQ(h.desktop.launcher.launches[0].program, pathToQString(project.emulatorPath));
    EXPECT_EQ(h.desktop.launcher.launches[0].arguments, QStringList{pathToQString(project.romPath)});
}

TEST(Emulator, AnEmulatorThatIsNotThereOrCannotRunIsSaidOnceAndNotStarted) {
    FixtureProject project;
    testsupport::writeFileBytes(project.emulatorPath, "not a program");
    const QString cannot = QStringLiteral("No se puede ejecutar el emulador: ");
    const std::pair<std::string, QString> cases[] = {
        {"", kNoEmulator.text},
        {project.root + "/none", cannot + "no existe el archivo " + pathToQString(project.root) + "/none"},
        {project.emulatorPath,
         cannot + pathToQString(project.emulatorPath) + " no es un programa ejecutable"}};
    for (const auto& [path, text] : cases) {
        ProjectSettings settings;
        settings.emulatorPath = path;
        settings.romPath = "/roms/game.smc";
        ScriptedDialogs dialogs;
        RecordingLauncher launcher;
        runEmulator(nullptr, settings, dialogs, launcher);
        EXPECT_EQ(dialogs.messages, std::vector<RecordedMessage>{info(text)});
        EXPECT_TRUE(launcher.launches.empty());
    }
}

TEST(Emulator, WhenTheStartFailsItTriesTheEmulatorAloneAndSaysWhenThatFailsToo) {
    ProjectSettings settings;
    settings.emulatorPath = "/bin/sh";
    settings.romPath = "/roms/game.smc";
    for (const bool aloneStarts : {true, false}) {
        ScriptedDialogs dialogs;
        RecordingLauncher launcher;
        launcher.results = {false, aloneStarts};
        runEmulator(nullptr, settings, dialogs, launcher);
        const auto said = aloneStarts ? std::vector<RecordedMessage>{kNoCommandLine}
                                      : std::vector<RecordedMessage>{kNoCommandLine, kNoEmulator};
        EXPECT_EQ(dialogs.messages, said);
        EXPECT_EQ(launcher.launches,
                  (std::vector<RecordingLauncher::Launch>{{"/bin/sh", {"/roms/game.smc"}}, {"/bin/sh", {}}}));
    }
}

TEST(Emulator, AfterClosingTheProjectThePathStaysButTheMenuIsUnusable) {
    FixtureProject project;
    project.script("00[1].txt", "a");
    testsupport::WindowHarness h;
    h.openProject(project);
    h.action("mnuCerrar")->trigger();
    EXPECT_EQ(h.workspace.settings.emulatorPath, project.emulatorPath);
    EXPECT_FALSE(h.menu("mnuHerramientas")->isEnabled());
}

} // namespace
} // namespace tradumar
