#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tradumar::cli {

// Exit statuses: everything asked was done; the command ran but something
// could not be done; a usage error or a project that cannot be opened.
constexpr int kDone = 0;
constexpr int kNotAll = 1;
constexpr int kUsage = 2;

// Where a command writes: results to `out`, messages to `err`; `progress`
// when a long run may show a progress line (standard error is a terminal).
struct Streams {
    std::ostream& out;
    std::ostream& err;
    bool progress = false;
};

int status(const std::string& projectFile, bool tsv, Streams io);
int check(const std::string& projectFile, Streams io);
int insert(const std::string& projectFile, bool overBudget, const std::vector<std::string>& scripts, Streams io);
int undo(const std::string& projectFile, Streams io);
int patch(const std::string& projectFile, const std::string& output, const std::string& original, Streams io);

} // namespace tradumar::cli
