// The search over a project of 10,000 scripts of 200 to 4,000 bytes, against
// `grep -rlF WORD FOLDER` run as a child process on the same files in the
// same run (in the C locale, grep's fastest). Two projects: Japanese
// originals in UTF-8 (kana, kanji and symbols, CR LF) and Spanish ones in
// Windows-1252 (accents, CR LF). In each, one ASCII word is in 1% of the
// scripts, one in none, and a word beyond ASCII is in another 1%. Before
// timing, the files grep lists are counted and must be the ones the search
// finds.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <strings.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "encoding/unicode_text.h"
#include "search/script_search.h"

extern char** environ;

namespace {

using namespace tradumar;

constexpr int kScripts = 10000;

struct Project {
    const char* label; // starts the benchmark name's second field
    LegacyCodePage legacy;
    std::vector<const char*> words;
    const char* blank;      // between two words on a line
    const char* asciiWord;  // in every hundredth script
    const char* absentWord; // in none
    const char* otherWord;  // beyond ASCII, in every hundredth script too
    bool windows1252;       // the files are written in Windows-1252
};

const Project kJapanese{"utf",
                        LegacyCodePage::ShiftJis,
                        {"ヴァル", "は", "城",   "の",   "扉",  "を",   "開けた", "。",   "♪",
                         "①",      "「", "」",   "<01>", "剣",  "ミナ", "が",     "眠る", "★",
                         "宝箱",   "に", "金貨", "αΩ",   "└─┘", "▶",    "　"},
                        "", // Japanese leaves no blanks between words
                        "Zarandaja",
                        "Quetzalcoatl",
                        "キリアの盾",
                        false};
const Project kSpanish{"cp",
                       LegacyCodePage::Windows1252,
                       {"el",    "caballero", "abre",    "la",      "puerta", "del",   "castillo",
                        "<01>",  "y",         "canción", "un",      "cofre",  "lleno", "de",
                        "oro,",  "pero",      "Ayla",    "duerme",  "junto",  "al",    "fuego.",
                        "¿Qué?", "¡Sí!",      "corazón", "pingüino"},
                       " ",
                       "Zarandaja",
                       "Quetzalcoatl",
                       "Señorío",
                       true};

// A project's scripts, written once into a temporary folder that goes at exit.
struct ScriptFolder {
    std::filesystem::path path;
    std::vector<std::string> names; // as the script list orders them

    explicit ScriptFolder(const Project& project) {
        std::string pattern = (std::filesystem::temp_directory_path() / "tradumar-bench-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
        std::uint32_t state = 12345; // fixed: the same folder every run
        const auto next = [&state] { return state = state * 1664525u + 1013904223u; };
        for (int i = 0; i < kScripts; ++i) {
            const std::size_t size = 200 + next() % 3801;
            std::string text;
            while (text.size() < size) {
                text += project.words[next() % project.words.size()];
                text += next() % 8 == 0 ? "\r\n" : project.blank;
            }
            // Cut at a character's start, so the file stays well-formed UTF-8.
            std::size_t cut = size;
            while ((static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
                --cut;
            text.resize(cut);
            std::size_t middle = cut / 2;
            while ((static_cast<unsigned char>(text[middle]) & 0xC0) == 0x80)
                --middle;
            if (i % 100 == 42)
                text.insert(middle, project.asciiWord);
            if (i % 100 == 77)
                text.insert(middle, project.otherWord);
            if (project.windows1252)
                text = toWindows1252(text).value();
            char name[32];
            std::snprintf(name, sizeof name, "%06X[%zu].txt", 0x10000 + i * 0x100, text.size());
            names.emplace_back(name);
            std::ofstream(path / name, std::ios::binary) << text;
        }
        std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
            return ::strcasecmp(a.c_str(), b.c_str()) < 0;
        });
    }
    ~ScriptFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

const ScriptFolder& folderOf(const Project& project) {
    static const ScriptFolder japanese(kJapanese);
    static const ScriptFolder spanish(kSpanish);
    return &project == &kJapanese ? japanese : spanish;
}

// The word as grep is given it: in the files' own encoding.
std::string grepPattern(const Project& project, const char* word) {
    return project.windows1252 ? toWindows1252(word).value() : std::string(word);
}

// Runs `grep -rlF -- PATTERN FOLDER` in the C locale; its output goes to
// the pipe when one is given, else to /dev/null. The exit status, or -1.
int runGrep(const std::string& pattern, const std::string& folder, int outputFd) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outputFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> environment{"LC_ALL=C"};
    for (char** entry = environ; *entry != nullptr; ++entry)
        if (std::string_view(*entry).substr(0, 3) != "LC_" &&
            std::string_view(*entry).substr(0, 5) != "LANG=")
            environment.emplace_back(*entry);
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string arguments[] = {"grep", "-rlF", "--", pattern, folder};
    char* argv[] = {arguments[0].data(), arguments[1].data(), arguments[2].data(),
                    arguments[3].data(), arguments[4].data(), nullptr};
    pid_t child = 0;
    const int spawned = ::posix_spawnp(&child, "grep", &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// How many files grep lists, or -1 when it fails.
long grepCount(const std::string& pattern, const std::string& folder) {
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    FILE* listed = ::fdopen(fds[0], "r");
    // The listing of 100 names fits the pipe, so grep ends before it is read.
    const int status = runGrep(pattern, folder, fds[1]);
    ::close(fds[1]);
    long lines = 0;
    for (int c; (c = std::fgetc(listed)) != EOF;)
        lines += c == '\n';
    std::fclose(listed);
    return status == 0 || status == 1 ? lines : -1;
}

void core(benchmark::State& state, const Project* project, const char* word) {
    const ScriptFolder& folder = folderOf(*project);
    std::size_t hits = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            hits = searchScripts(folder.path.string(), folder.names, word, project->legacy).size());
    state.counters["hits"] = static_cast<double>(hits);
    const long listed = grepCount(grepPattern(*project, word), folder.path.string());
    if (listed != static_cast<long>(hits))
        state.SkipWithError("grep lists other files than the search finds");
}

void grep(benchmark::State& state, const Project* project, const char* word) {
    const ScriptFolder& folder = folderOf(*project);
    const std::string pattern = grepPattern(*project, word);
    const std::string path = folder.path.string();
    for (auto _ : state)
        if (const int status = runGrep(pattern, path, -1); status != 0 && status != 1) {
            state.SkipWithError("grep failed");
            break;
        }
    state.counters["hits"] = static_cast<double>(grepCount(pattern, path));
}

const bool registered = [] {
    for (const Project* project : {&kJapanese, &kSpanish}) {
        const std::pair<const char*, const char*> cases[] = {
            {"hit", project->asciiWord}, {"none", project->absentWord}, {"other", project->otherWord}};
        for (const auto& [label, word] : cases) {
            const std::string base = std::string("Search/") + project->label + label;
            benchmark::RegisterBenchmark((base + "/core").c_str(), core, project, word)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
            benchmark::RegisterBenchmark((base + "/grep").c_str(), grep, project, word)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
    }
    return true;
}();

} // namespace
