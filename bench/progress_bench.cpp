// Opening a large project: 10,000 scripts with 10,000 saved translations of
// 50 to 2,000 characters and two 5,000-entry tables. Opening lists the three
// folders, loads both tables, counts every saved translation for the
// progress marks and the summary, and opens the stored script. The CPU
// column adds up every thread of the process: the translations are counted
// on all cores.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <QApplication>

#include "bench_application.h"
#include "platform/platform.h"
#include "platform/qt_text.h"
#include "project/ini_profile.h"
#include "project/workspace.h"
#include "support/temp_dir.h"
#include "workspace/main_window.h"

namespace {

using namespace tradumar;

// The picker answers with the project file; nothing else is ever asked.
class ProjectPicker : public Dialogs, public Clipboard, public ProcessLauncher {
public:
    QString project;
    MessageAnswer message(QWidget*, const QString&, const QString&, MessageButtons, MessageIcon) override {
        return MessageAnswer::Ok;
    }
    QString openFile(QWidget*, const FileRequest&) override { return project; }
    QString saveFile(QWidget*, const FileRequest&) override { return {}; }
    QString chooseFolder(QWidget*, const QString&) override { return {}; }
    void setText(const QString&) override {}
    bool startDetached(const QString&, const QStringList&) override { return true; }
};

std::string hex(int value, int digits) {
    static const char symbols[] = "0123456789ABCDEF";
    std::string text(static_cast<std::size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
        text[static_cast<std::size_t>(i)] = symbols[value & 15];
    return text;
}

// 5,000 entries: letters, then pairs and triples of them, and the line and
// end codes.
std::string table() {
    const std::string letters = "abcdefghijklmnopqrstuvwxyz ,.";
    std::vector<std::string> entries;
    for (const char a : letters)
        entries.push_back({a});
    for (const char a : letters)
        for (const char b : letters)
            entries.push_back({a, b});
    for (const char a : letters)
        for (const char b : letters)
            for (const char c : letters)
                entries.push_back({a, b, c});
    std::string text;
    for (int code = 1; code <= 4998; ++code)
        text += hex(code, 4) + "=" + entries[static_cast<std::size_t>(code - 1)] + "\r\n";
    return text + "*FE\r\n/FF\r\n";
}

struct LargeProject {
    testsupport::TempDir dir;
    std::string projectFile = dir.file("Grande.tpr");

    LargeProject() {
        const std::string scripts = dir.file("scripts");
        std::filesystem::create_directories(scripts + "/Traducidos");
        std::mt19937 random(11);
        const std::string words = "the quick brown fox jumps over a lazy dog ";
        for (int i = 0; i < 10000; ++i) {
            const std::string name =
                hex(0x10000 + i * 0x100, 6) + "[" + std::to_string(100 + i % 900) + "].txt";
            testsupport::writeBytes(scripts + "/" + name, "Original text of the script\r\n");
            std::string translation;
            const std::size_t length = 50 + random() % 1951;
            for (std::size_t k = 0; translation.size() < length; ++k)
                translation +=
                    k % 40 == 39 ? std::string("\r\n") : std::string(1, words[random() % words.size()]);
            testsupport::writeBytes(scripts + "/Traducidos/" + name, translation + "\r\n");
        }
        testsupport::writeBytes(dir.file("original.tbl"), table());
        testsupport::writeBytes(dir.file("traducida.tbl"), table());
        testsupport::writeBytes(dir.file("game.smc"), std::string(1 << 20, '\0'));
        writeIniValue("Project", "NAME", "Grande", projectFile);
        writeIniValue("Project", "PATCH", dir.path().string(), projectFile);
        writeIniValue("ROM", "PATCH", dir.file("game.smc"), projectFile);
        writeIniValue("Scripts", "PATCH", scripts, projectFile);
        writeIniValue("Tables", "ORIGINAL", dir.file("original.tbl"), projectFile);
        writeIniValue("Tables", "TRANSLATED", dir.file("traducida.tbl"), projectFile);
        writeIniValue("Enclosures", "RIGHT", ">", projectFile);
        writeIniValue("Enclosures", "LEFT", "<", projectFile);
        writeIniValue("Index", "VALUE", "0", projectFile);
    }
};

void OpenLargeProject(benchmark::State& state) {
    benchApplication();
    const LargeProject project;
    ProjectPicker desktop;
    desktop.project = pathToQString(project.projectFile);
    Workspace workspace;
    MainWindow window(workspace, Platform{desktop, desktop, desktop}, QString());
    window.show();
    for (auto _ : state) {
        window.openProject();
        QApplication::processEvents(); // the list laid out and painted with its marks
    }
    const ProgressSummary summary = workspace.progress.summary();
    if (summary.scripts != 10000 || summary.translated != 10000)
        state.SkipWithError("the project did not open whole");
    state.counters["scripts"] = summary.scripts;
    state.counters["over_budget"] = summary.overBudget;
}
BENCHMARK(OpenLargeProject)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(5);

} // namespace
