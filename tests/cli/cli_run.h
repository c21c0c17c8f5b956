#pragma once

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "support/temp_dir.h"

namespace tradumar::testsupport {

// What a run of the command line printed and how it ended.
struct Outcome {
    int status = -1;
    std::string out, err;
};

inline std::string quoted(const std::string& word) {
    std::string out = "'";
    for (const char c : word)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs tradumar-cli as a child process, its output kept in files of `dir`.
inline Outcome cli(const TempDir& dir, const std::vector<std::string>& arguments) {
    std::string command = quoted(TRADUMAR_CLI);
    for (const std::string& argument : arguments)
        command += " " + quoted(argument);
    command += " >" + quoted(dir.file("out")) + " 2>" + quoted(dir.file("err")) + " </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readBytes(dir.file("out")), readBytes(dir.file("err"))};
}

} // namespace tradumar::testsupport
